#!/usr/bin/env bash
# Panels closed while their own question is open: the close waits for the
# answer and the answer then writes nothing; Escape closes the clock and the
# voltage panel for real. Run under the sanitizer build too, where a use after
# free would end the program with a report.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
write_settings
write_card 45
start_vantrel
wait_for 15 has_main_window || fail "no main window"
main=$(main_window)
trace="$E2E_DIR/trace.txt"

alive() { kill -0 "$VANTREL_PID" 2>/dev/null || fail "the program died: $(tail -5 "$E2E_DIR/stdout.txt")"; }
# The box out of the way of the panels' buttons.
wait_box() {
    wait_for 10 has_window Warning || fail "no warning box"
    xdotool windowmove "$(window_named Warning)" 700 820
    sleep 0.3
}
answer() {
    wait_box
    xdotool windowfocus "$(window_named Warning)" 2>/dev/null
    sleep 0.2
    xdotool key "$1"
    wait_for 10 gone Warning || fail "the warning box stayed"
}
open_clock_panel() {
    click "$main" 130 409
    answer Return
    wait_for 10 has_window Overclocking || fail "no clock panel"
    clock=$(window_named Overclocking)
}
drag() {
    local x y i
    IFS=, read -r x y <<<"$(position "$1")"
    xdotool mousemove $((x + $2)) $((y + $3))
    sleep 0.1
    xdotool mousedown 1
    for i in 1 2 3 4; do xdotool mousemove_relative -- $(($4 / 4)) 0; sleep 0.05; done
    xdotool mouseup 1
}
drag "$main" 120 60 320

# The clock panel's close button while its Apply question is open: the panel
# stays until the answer, and a Yes then writes nothing.
open_clock_panel
drag "$clock" 155 73 20  # a GPU clock offset that Apply would write
click "$clock" 85 610
wait_box
click "$clock" 42 15
sleep 0.5
alive
has_window Overclocking || fail "the panel went while its question was open"
answer Return
wait_for 10 gone Overclocking || fail "the panel did not close after the answer"
alive
! grep -q 'GPU_SetPstates20' "$trace" 2>/dev/null || fail "the closed panel's Apply wrote: $(cat "$trace")"

# The voltage button while the over-voltage warning is open, then Yes.
open_clock_panel
click "$clock" 30 221
wait_for 10 has_window Voltage || fail "no voltage panel"
volt=$(window_named Voltage)
click "$volt" 240 110
wait_box
click "$clock" 30 221
sleep 0.5
alive
answer Return
wait_for 10 gone Voltage || fail "the voltage panel did not close after the answer"
alive

# Escape on the voltage panel closes it: the clock panel's Apply no longer
# writes its core voltage, and one click of the button brings it back.
click "$clock" 30 221
wait_for 10 has_window Voltage || fail "no voltage panel"
xdotool windowfocus --sync "$(window_named Voltage)" key Escape
wait_for 10 gone Voltage || fail "Escape left the voltage panel"
: >"$trace"
click "$clock" 85 610
answer Return
wait_for 5 grep -q GPU_SetCoolerLevels "$trace" || fail "Apply did nothing"
! grep -q 'numBaseVol=1' "$trace" || fail "Apply wrote the closed voltage panel's core voltage"
click "$clock" 30 221
wait_for 10 has_window Voltage || fail "one click did not bring the voltage panel back"

# Escape on the clock panel closes both.
xdotool windowfocus --sync "$clock" key Escape
wait_for 10 gone Overclocking || fail "Escape left the clock panel"
wait_for 5 gone Voltage || fail "Escape on the clock panel left the voltage panel"
alive

: >"$trace"
click "$main" 435 17
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
grep -q 'GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0' "$trace" || fail "fan not handed back"
echo "panel questions: ok"
