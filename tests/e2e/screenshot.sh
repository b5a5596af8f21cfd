#!/usr/bin/env bash
# The screenshot hot key (Alt+F12 here) saves the window's screen area as a
# bitmap that an independent decoder reads at the window's size; a window partly
# off the screen gives only its visible part.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
shots="$E2E_DIR/shots"
mkdir -p "$shots"
write_settings Folder="$shots" Key=123 Mods=4
write_card 45
start_vantrel
wait_for 15 has_main_window || fail "no main window"
win=$(main_window)
bmp="$shots/Vantrel.bmp"

xdotool key alt+F12
wait_for 10 test -s "$bmp" || fail "no screenshot after Alt+F12"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$(identify -format '%w %h' "$bmp")" = "$WIDTH $HEIGHT" ] || fail "bitmap $(identify -format '%w %h' "$bmp"), window $WIDTH $HEIGHT"

# Only Alt+F12: F12 alone and Shift+F12 do nothing.
rm -f "$bmp"
xdotool key F12 shift+F12
sleep 0.5
[ -e "$bmp" ] && fail "screenshot without the hot key"

# Partly off the left edge.
xdotool windowmove "$win" -100 50
wait_for 5 bash -c "xdotool getwindowgeometry $win | grep -q 'Position: -100,50'" || fail "window did not move"
xdotool key alt+F12
wait_for 10 test -s "$bmp" || fail "no second screenshot"
sleep 0.3
[ "$(identify -format '%w %h' "$bmp")" = "375 $HEIGHT" ] || fail "clipped bitmap $(identify -format '%w %h' "$bmp")"

kill -TERM "$VANTREL_PID"
wait_exit 10
echo "screenshot: ok"
