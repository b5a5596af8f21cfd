#!/usr/bin/env bash
# On a Wayland desktop (a headless Weston): without an X display the program runs
# on native Wayland, its main window appears on the compositor's screen and
# SIGTERM hands the fan back; with XWayland there it takes the X11 platform.
# Skips (77) where Weston is not installed.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_runtime
source "$(dirname "$0")/weston_lib.sh"
last_fan_write() { grep GPU_SetCoolerLevels "$E2E_DIR/trace.txt" 2>/dev/null | tail -1; }
curve_running() { [ "$(count_lines "$E2E_DIR/trace.txt" 'policy0=1 ')" -ge 2 ]; }
stop_and_check_hand_back() {  # what
    kill -0 "$VANTREL_PID" 2>/dev/null || fail "$1: the program ended early: $(cat "$E2E_DIR/stdout.txt")"
    kill -TERM "$VANTREL_PID"
    wait_exit 10
    [ "$VANTREL_RC" -eq 0 ] || fail "$1: exit status $VANTREL_RC"
    last_fan_write | grep -q ' policy0=32 ' || fail "$1: fan not handed back: $(last_fan_write)"
}
write_card 45
# A bus without a portal: no global shortcuts to be had.
if command -v dbus-daemon >/dev/null; then private_session_bus; else unset DBUS_SESSION_BUS_ADDRESS; fi

# Native Wayland: no X display at all.
start_weston
[ "$(colours_on_screen)" -le 2 ] || fail "the empty desktop is not plain: $(colours_on_screen) colours"
rm -f "$E2E_DIR/trace.txt"
write_settings EnableFan=1 AutoSystem=1 UpdateTime=50 Key=123 Mods=4
WAYLAND_DISPLAY="$socket" start_vantrel
wait_for 15 curve_running || fail "wayland: the fan curve never wrote: $(cat "$E2E_DIR/stdout.txt")"
wait_for 15 many_colours || fail "wayland: no window on the screen"
stop_and_check_hand_back wayland
# The hot key cannot be had here: said once, and nothing else went wrong.
[ "$(count_lines "$E2E_DIR/stdout.txt" 'hot key is not available')" -eq 1 ] || fail "wayland: $(cat "$E2E_DIR/stdout.txt")"
stop_weston

# XWayland beside Wayland: the program prefers X11, where its panels can dock.
if command -v Xwayland >/dev/null; then
    start_weston --xwayland
    export DISPLAY
    DISPLAY=$(xwayland_display)
    rm -f "$E2E_DIR/trace.txt"
    WAYLAND_DISPLAY="$socket" start_vantrel
    wait_for 20 has_main_window || fail "xwayland: no X11 main window: $(cat "$E2E_DIR/stdout.txt")"
    wait_for 15 curve_running || fail "xwayland: the fan curve never wrote"
    stop_and_check_hand_back xwayland
    grep -q 'hot key is not available' "$E2E_DIR/stdout.txt" && fail "xwayland: the hot key was refused"
    stop_weston
else
    echo "XWayland is not installed: only native Wayland tested"
fi
echo "wayland: ok"
