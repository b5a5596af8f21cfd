#!/usr/bin/env bash
# The clock panel and the voltage panel on the real program: opened through the
# warning, a slider dragged and applied, both panels following the main window,
# over-voltage guarded and switched off, and the fan handed back at close.
# VANTREL_E2E_SHOTS=DIR keeps a screenshot of the docked panels there.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
write_settings
write_card 45
start_vantrel
wait_for 15 has_main_window || fail "no main window"
main=$(main_window)
trace="$E2E_DIR/trace.txt"

window_named() { xdotool search --onlyvisible --name "^$1\$" | head -1; }
has_window() { [ -n "$(window_named "$1")" ]; }
gone() { [ -z "$(window_named "$1")" ]; }
position() { xdotool getwindowgeometry "$1" | sed -n 's/ *Position: \([-0-9]*,[-0-9]*\).*/\1/p'; }
at() { [ "$(position "$1")" = "$2" ]; }
# click WINDOW X Y: a click at a point of the window.
click() {
    local x y
    IFS=, read -r x y <<<"$(position "$1")"
    xdotool mousemove $((x + $2)) $((y + $3)) click 1
}
# answer KEY: the message box "Warning" gets KEY (Return = Yes, Escape = No).
answer() {
    wait_for 10 has_window Warning || fail "no warning box"
    local box
    box=$(window_named Warning)
    xdotool windowfocus "$box" 2>/dev/null
    sleep 0.2
    xdotool key "$1"
    wait_for 10 gone Warning || fail "the warning box stayed"
}
# drag WINDOW X Y DX [DY]: presses at a point of the window and moves by DX,DY in four steps.
drag() {
    local x y i
    IFS=, read -r x y <<<"$(position "$1")"
    xdotool mousemove $((x + $2)) $((y + $3))
    sleep 0.1
    xdotool mousedown 1
    for i in 1 2 3 4; do
        xdotool mousemove_relative -- $(($4 / 4)) $((${5:-0} / 4))
        sleep 0.05
    done
    xdotool mouseup 1
}

# Room on the left for both panels: the main window further right.
drag "$main" 120 60 320
IFS=, read -r mx my <<<"$(position "$main")"

click "$main" 130 409
answer Return
wait_for 10 has_window Overclocking || fail "no clock panel"
clock=$(window_named Overclocking)
wait_for 5 at "$clock" "$((mx - 358)),$my" || fail "clock panel at $(position "$clock"), main at $mx,$my"
[ ! -s "$trace" ] || fail "opening wrote to the card: $(cat "$trace")"

# The GPU clock thumb (1006 MHz of 504..1934 sits 84 px into the track), 20 px right.
drag "$clock" 155 73 20
click "$clock" 85 610
answer Return
wait_for 5 grep -q 'GPU_SetPstates20 .*p0.clock0.domain=0 p0.clock0.delta=[1-9][0-9]*000 status=0' "$trace" ||
    fail "no GPU clock offset: $(cat "$trace")"
grep -q 'GPU_SetCoolerLevels .*policy0=32 status=0' "$trace" || fail "Auto did not hand the fan to the driver"
echo "apply:"; cat "$trace"

# The voltage panel opens beside the clock panel; over-voltage needs a Yes.
click "$clock" 30 221
wait_for 10 has_window Voltage || fail "no voltage panel"
volt=$(window_named Voltage)
IFS=, read -r cx cy <<<"$(position "$clock")"
wait_for 5 at "$volt" "$((cx - 353)),$((cy + 78))" || fail "voltage panel at $(position "$volt")"
lines=$(wc -l <"$trace")
click "$volt" 240 110
answer Escape
click "$volt" 240 110
answer Return
[ "$(wc -l <"$trace")" -eq "$lines" ] || fail "switching over-voltage on wrote to the card"
click "$volt" 302 110
wait_for 5 grep -q 'numOverVol=1 ov0.domain=0 ov0.delta=0 status=0' "$trace" || fail "off did not write 0"
[ -n "${VANTREL_E2E_SHOTS:-}" ] && mkdir -p "$VANTREL_E2E_SHOTS" && import -window root "$VANTREL_E2E_SHOTS/panels_docked.png"

# Both panels follow the main window.
drag "$main" 120 60 -40 20
IFS=, read -r mx2 my2 <<<"$(position "$main")"
[ "$mx2,$my2" != "$mx,$my" ] || fail "the main window did not move"
wait_for 5 at "$clock" "$((mx2 - 358)),$my2" || fail "clock panel at $(position "$clock"), main at $mx2,$my2"
wait_for 5 at "$volt" "$((mx2 - 358 - 353)),$((my2 + 78))" || fail "voltage panel at $(position "$volt")"

# Closing the main window with both panels open hands the fan back.
: >"$trace"
click "$main" 435 17
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
grep -q 'GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0' "$trace" || fail "fan not handed back"
echo "clock_panel: ok"
