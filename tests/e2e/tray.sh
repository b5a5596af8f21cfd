#!/usr/bin/env bash
# Start minimised: only the tray icon shows; double-clicking it shows the window,
# the window's close button hides it again, and the menu's "Close" ends the program.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
trayer --edge top --align right --widthtype request --height 32 --transparent false >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_for 10 xdotool search --name '^panel$' || fail "no tray host"
tray=$(xdotool search --name '^panel$' | head -1)
# Embedded icons are windows below the panel.
tray_windows() { xwininfo -tree -id "$tray" | grep -c '^ *0x'; }
baseline=$(tray_windows)
icon_shown() { [ "$(tray_windows)" -gt "$baseline" ]; }

write_settings StartMinized=1 EnableFan=1 UpdateTime=50
write_card 45
start_vantrel
wait_for 15 icon_shown || fail "no tray icon"
sleep 0.5
has_main_window && fail "window visible although started minimised"

eval "$(xdotool getwindowgeometry --shell "$tray")"
icon_x=$((X + 16)) icon_y=$((Y + 16))
xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 80 1
wait_for 10 has_main_window || fail "double-click did not show the window"

# The close button (420, 2)-(450, 32) hides it while the icon stays.
eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
xdotool mousemove $((X + 435)) $((Y + 17)) click 1
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Vantrel$'" || fail "close button did not hide"
kill -0 "$VANTREL_PID" || fail "close button ended the program"

# Menu: Show, Close.
xdotool mousemove "$icon_x" "$icon_y" click 3
sleep 0.5
xdotool key Down Down Return
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
icon_shown && fail "icon left in the tray"
# The curve ran meanwhile; the menu's Close ends with the fan handed back.
grep -q 'policy0=1 ' "$E2E_DIR/trace.txt" || fail "the fan curve never wrote"
[ "$(grep GPU_SetCoolerLevels "$E2E_DIR/trace.txt" | tail -1)" = 'GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0' ] ||
    fail "fan not handed back at the tray's Close"
echo "tray: ok"
