#!/usr/bin/env bash
# The Fan page on a frozen simulated card at 65 °C with the curve running: the
# third point dragged with the mouse to about (62 °C, 45 %), the stepped form by
# a double-click, OK. The document holds the new curve and the card's next
# levels follow it. Then the enable box cleared and OK: the fan goes back to the
# driver and no level follows. Leaves the screenshot taken during the drag as
# fan_page_drag.png in E2E_KEEP when that is set.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
export XDG_CONFIG_HOME="$E2E_DIR/config"
trace="$E2E_DIR/trace.txt"
doc="$E2E_BIN/Vantrel.xml"
restore='GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0'
write_settings EnableFan=1 AutoSystem=1 UpdateTime=100
write_card 65
start_vantrel
wait_for 15 has_main_window || fail "no main window"
# (60, 55) to (70, 60), straight: 57 at 65 °C.
wait_for 10 grep -q 'level0=57 policy0=1' "$trace" || fail "the curve does not run"

settings_window() { xdotool search --onlyvisible --name '^Seting Properties$' | head -1; }
open_fan_page() {
    xdotool mousemove --window "$(main_window)" 375 17 click 1
    wait_for 10 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^Seting Properties$')\" ]" ||
        fail "no settings window"
    xdotool key Right  # the tab row has the focus
    sleep 0.5
    sw=$(settings_window)
    eval "$(xdotool getwindowgeometry --shell "$sw")"
}
# OK stands below the window's middle, a little right of it.
press_ok() {
    xdotool mousemove $((X + WIDTH / 2 + 19)) $((Y + HEIGHT - 20)) click 1
    wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Seting Properties$' | grep -q ." ||
        fail "OK did not close the window"
}

open_fan_page
# The curve's grey squares, left to right, as window points "x y" of their top-left corners.
import -window "$sw" "$E2E_DIR/page.png"
mapfile -t squares < <(convert "$E2E_DIR/page.png" txt:- | python3 -c '
import re, sys
px = {(int(m[1]), int(m[2])) for m in (re.match(r"(\d+),(\d+):.*#969696", l) for l in sys.stdin) if m}
for x, y in sorted(p for p in px if (p[0] - 1, p[1]) not in px and (p[0], p[1] - 1) not in px
                   and all((p[0] + i, p[1] + j) in px for i in range(6) for j in range(6))):
    print(x, y)')
[ "${#squares[@]}" = 8 ] || fail "${#squares[@]} point squares on the page"
# The grid from the first point (30, 30) and the last (90, 100): pixel = grid + value * span / 100.
read -r x0 y0 <<<"${squares[0]}"
read -r x7 y7 <<<"${squares[7]}"
read -r x2 y2 <<<"${squares[2]}"
at() {  # at TEMPERATURE SPEED: the window point of that value
    python3 -c "
x0, y0, x7, y7, t, s = $((x0 + 3)), $((y0 + 3)), $((x7 + 3)), $((y7 + 3)), $1, $2
span_x, span_y = (x7 - x0) / 0.6, (y0 - y7) / 0.7
print(round(x0 + (t - 30) * span_x / 100), round(y7 + (100 - s) * span_y / 100))"
}
read -r tx ty <<<"$(at 62 45)"
read -r ex ey <<<"$(at 15 70)"  # clear of every point

xdotool mousemove $((X + x2 + 3)) $((Y + y2 + 3))
sleep 0.2
xdotool mousedown 1
for i in 1 2 3 4; do
    xdotool mousemove $((X + x2 + 3 + (tx - x2 - 3) * i / 4)) $((Y + y2 + 3 + (ty - y2 - 3) * i / 4))
    sleep 0.05
done
sleep 0.4
import -window root "$E2E_DIR/drag.png"
[ -n "${E2E_KEEP:-}" ] && cp "$E2E_DIR/drag.png" "$E2E_KEEP/fan_page_drag.png"
xdotool mouseup 1
sleep 0.2
xdotool mousemove $((X + ex)) $((Y + ey)) click --repeat 2 --delay 80 1
sleep 0.3
before=$(wc -l <"$trace")
press_ok

fanmap=$(grep -o '<FanMap[^>]*>' "$doc")
value() { sed -n "s/.* $1=\"\([^\"]*\)\".*/\1/p" <<<"$fanmap"; }
three_x=$(value ThreeX) three_y=$(value ThreeY)
[ "$three_x" -ge 61 ] && [ "$three_x" -le 63 ] && [ "$three_y" -ge 44 ] && [ "$three_y" -le 46 ] ||
    fail "dragged point stored as ($three_x, $three_y): $fanmap"
[ "$(value TwoX),$(value TwoY),$(value FourX),$(value FourY)" = "50,40,70,60" ] || fail "other points moved: $fanmap"
[ "$(value blLine)" = 1 ] || fail "not stored stepped: $fanmap"
grep -q '<AutoSystem>1</AutoSystem>' "$doc" || fail "AutoSystem changed"

# Stepped at 65 °C: the speed of the last point at or below it, that is the dragged one.
expected="level0=$three_y policy0=1"
wait_for 5 bash -c "[ \$(tail -n +$((before + 1)) '$trace' | grep -c '$expected') -ge 3 ]" ||
    fail "no level $three_y after OK: $(tail -n +$((before + 1)) "$trace" | sort | uniq -c)"
tail -n +$((before + 1)) "$trace" | sed -n "/$expected/,\$p" | grep -v -- "$expected" &&
    fail "other levels after the new curve took over"

# Fan-curve control off.
open_fan_page
xdotool key Tab space  # the enable box, the page's first control
sleep 0.3
before=$(wc -l <"$trace")
press_ok
wait_for 5 bash -c "tail -n +$((before + 1)) '$trace' | grep -qx '$restore'" || fail "the fan was not handed back"
sleep 1  # ten periods
tail -n +$((before + 1)) "$trace" | sed -n "/$restore/,\$p" | grep 'policy0=1' && fail "levels after the hand-back"
grep -q '<AutoSystem>0</AutoSystem>' "$doc" || fail "AutoSystem not cleared with the enable box"

xdotool mousemove --window "$(main_window)" 435 17 click 1  # the main window's close button
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
grep -q '<EnableFan>0</EnableFan>' "$doc" || fail "EnableFan not written from the cleared auto box"
echo "fan page: ok"
