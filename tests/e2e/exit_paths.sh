#!/usr/bin/env bash
# Every way the program can end hands the fan back: with the fan curve driving
# the simulated card, the last write in the trace must be the hand-back. Run on
# a card that knows every cooler-settings version and on one that only knows
# version 1. Prints the table of path -> last fan write.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
cards="$(dirname "$0")/../../drivers/sim/cards"
restore='GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0'
failures=0

last_fan_write() { grep GPU_SetCoolerLevels "$E2E_DIR/trace.txt" 2>/dev/null | tail -1; }
curve_running() { [ "$(count_lines "$E2E_DIR/trace.txt" 'policy0=1 ')" -ge 2 ]; }
gone() { ! kill -0 "$VANTREL_PID" 2>/dev/null; }

# run_case NAME CARD ACTION...: starts the program with the curve on, runs the
# action, waits for the end and checks the last fan write.
run_case() {
    local name="$1" card="$2"; shift 2
    rm -f "$E2E_DIR/trace.txt"
    write_settings EnableFan=1 AutoSystem=1 UpdateTime=50
    cp "$card" "$E2E_DIR/card.xml"
    start_vantrel
    wait_for 15 curve_running || fail "$name: the curve never wrote"
    "$@"
    wait_for 10 gone || { echo "FAIL: $name: still running"; failures=$((failures + 1)); kill -KILL "$VANTREL_PID"; }
    wait "$VANTREL_PID" 2>/dev/null
    local last
    last=$(last_fan_write)
    printf '%-34s %-26s %s\n' "$name" "$(basename "$card")" "$last"
    [ "$last" = "$restore" ] || { echo "FAIL: $name: fan not handed back"; failures=$((failures + 1)); }
}

click_close() {
    wait_for 10 has_main_window || return
    eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
    xdotool mousemove $((X + 435)) $((Y + 17)) click 1
}
press_escape() {
    wait_for 10 has_main_window || return
    xdotool windowfocus --sync "$(main_window)" key Escape
}
send() { kill -"$1" "$VANTREL_PID"; }
pipe_then_term() {
    send PIPE
    sleep 0.3
    kill -0 "$VANTREL_PID" || { echo "FAIL: SIGPIPE ended the program"; failures=$((failures + 1)); }
    send TERM
}
two_signals() { kill -HUP "$VANTREL_PID"; sleep 0.001; kill -TERM "$VANTREL_PID"; }
box_up() { xdotool search --onlyvisible --name 'NVAPI' >/dev/null 2>&1; }
with_box() {
    wait_for 10 box_up || { echo "FAIL: no message box"; failures=$((failures + 1)); }
    sleep 1  # the curve's ticks use up the failing reads; the box stays up
    "$@"
}

# The X server goes away under the program: Qt ends it with exit().
kill_x_server() {
    private_x_server
    rm -f "$E2E_DIR/trace.txt"
    write_settings EnableFan=1 AutoSystem=1 UpdateTime=50
    cp "$1" "$E2E_DIR/card.xml"
    DISPLAY="$PRIVATE_DISPLAY" start_vantrel
    wait_for 15 curve_running || fail "X killed: the curve never wrote"
    kill -KILL "$PRIVATE_X_PID"
    wait_for 10 gone || { echo "FAIL: X killed: still running"; kill -KILL "$VANTREL_PID"; }
    wait "$VANTREL_PID" 2>/dev/null
    printf '%-34s %-26s %s\n' "X server killed" "$(basename "$1")" "$(last_fan_write)"
    [ "$(last_fan_write)" = "$restore" ] || { echo "FAIL: X killed: fan not handed back"; failures=$((failures + 1)); }
}

write_card 45
cp "$E2E_DIR/card.xml" "$E2E_DIR/frozen.xml"
# Cooler reads that fail for a moment, early: the box stays up until answered.
sed 's|</gpu>|<fault interface="GPU_GetCoolerSettings" status="-10" after="3" times="6"/></gpu>|' \
    "$E2E_DIR/frozen.xml" >"$E2E_DIR/box.xml"
sed 's|</gpu>|<versions interface="GPU_GetCoolerSettings" accept="1"/></gpu>|' "$E2E_DIR/box.xml" >"$E2E_DIR/box-v1.xml"

for card in "$E2E_DIR/frozen.xml" "$cards/cooler-v1.xml"; do
    run_case "close button" "$card" click_close
    run_case "Escape" "$card" press_escape
    for signal in TERM INT HUP QUIT USR1 USR2 ALRM SEGV ABRT; do
        run_case "SIG$signal" "$card" send "$signal"
    done
    run_case "SIGPIPE, then SIGTERM" "$card" pipe_then_term
    run_case "SIGHUP + SIGTERM 1 ms apart" "$card" two_signals
    kill_x_server "$card"
done
for card in "$E2E_DIR/box.xml" "$E2E_DIR/box-v1.xml"; do
    run_case "box open: SIGTERM" "$card" with_box send TERM
    run_case "box open: close button" "$card" with_box click_close
done

[ "$failures" -eq 0 ] || fail "$failures exit paths left the fan manual"
echo "exit paths: ok"
