#!/usr/bin/env bash
# A desktop whose tray is a StatusNotifierItem host (a fake watcher on a private
# session bus), on native Wayland: started minimised, the program hides into it
# (its item registers, no window shows); without a watcher its window shows.
# Skips (77) without Weston, dbus-daemon or python3-dbus.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_runtime
source "$(dirname "$0")/weston_lib.sh"
/usr/bin/python3 -c "import dbus, gi.repository.GLib" 2>/dev/null || { echo "SKIP: no python3-dbus"; exit 77; }
log="$E2E_DIR/watcher.log"
write_card 45
write_settings StartMinized=1
start_weston

# With a host: only the item.
private_session_bus
/usr/bin/python3 "$(dirname "$0")/fake_sni_watcher.py" "$log" &
WATCHER_PID=$!
E2E_PIDS+=($WATCHER_PID)
wait_for 10 grep -q ready "$log" || fail "the fake watcher did not start"
WAYLAND_DISPLAY="$socket" start_vantrel
wait_for 15 grep -q '^item ' "$log" || fail "no item registered: $(cat "$E2E_DIR/stdout.txt")"
sleep 1
[ "$(colours_on_screen)" -le 2 ] || fail "a window shows although the program hid into the tray"
item=$(sed -n 's/^item //p' "$log" | head -1)
dbus-send --session --print-reply --dest="$item" /StatusNotifierItem org.freedesktop.DBus.Properties.Get \
    string:org.kde.StatusNotifierItem string:ToolTip | grep -q 'Vantrel' || fail "the item has not the program's tool tip"
dbus-send --session --print-reply --dest="$item" /StatusNotifierItem org.freedesktop.DBus.Properties.Get \
    string:org.kde.StatusNotifierItem string:Menu | grep -q 'NO_DBUSMENU' && fail "the item offers the host no menu"
# The host's activation (its primary click) brings the window back.
dbus-send --session --type=method_call --dest="$item" /StatusNotifierItem org.kde.StatusNotifierItem.Activate int32:0 int32:0
wait_for 10 many_colours || fail "activating the item did not show the window: $(cat "$E2E_DIR/stdout.txt")"
kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit status $VANTREL_RC"

# Without one: the window shows, as there would be no way back to it.
kill -KILL "$WATCHER_PID"
kill -TERM "$SESSION_BUS_PID"
private_session_bus
WAYLAND_DISPLAY="$socket" start_vantrel
wait_for 15 many_colours || fail "no window without a tray host: $(cat "$E2E_DIR/stdout.txt")"
kill -TERM "$VANTREL_PID"
wait_exit 10
stop_weston
echo "tray_sni: ok"
