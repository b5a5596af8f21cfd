#!/usr/bin/env bash
# The two kinds of card most users without a desktop board have: a laptop GPU
# (a fan its embedded controller keeps, no offsets, a fixed power limit) and a
# passively cooled data-centre GPU. With the fan curve on, every panel and the
# settings window opened, then the program closed: no message box, no crash,
# no write the card refused more than once. VANTREL_E2E_SHOTS=DIR keeps
# screenshots there.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
cards="$(dirname "$0")/../../drivers/sim/cards"
trace="$E2E_DIR/trace.txt"

no_box() { ! xdotool search --onlyvisible --name 'NVAPI' >/dev/null 2>&1; }
alive() { kill -0 "$VANTREL_PID" 2>/dev/null || fail "$kind: the program died: $(tail -5 "$E2E_DIR/stdout.txt")"; }
shot() { [ -n "${VANTREL_E2E_SHOTS:-}" ] && mkdir -p "$VANTREL_E2E_SHOTS" && import -window root "$VANTREL_E2E_SHOTS/$1.png"; true; }
drag_right() {
    local x y i
    IFS=, read -r x y <<<"$(position "$1")"
    xdotool mousemove $((x + 120)) $((y + 60))
    sleep 0.1
    xdotool mousedown 1
    for i in 1 2 3 4; do xdotool mousemove_relative -- $(($2 / 4)) 0; sleep 0.05; done
    xdotool mouseup 1
}

for kind in laptop datacenter; do
    rm -f "$trace"
    write_settings EnableFan=1 AutoSystem=1 UpdateTime=100 Right=2
    cp "$cards/$kind.xml" "$E2E_DIR/card.xml"
    start_vantrel
    wait_for 15 has_window Vantrel || fail "$kind: no main window"
    main=$(window_named Vantrel)
    drag_right "$main" 320
    sleep 1
    click "$main" 346 409  # Monitor
    wait_for 10 has_window Monitor || fail "$kind: no monitor panel"
    click "$main" 346 371  # GPU information
    wait_for 10 has_window 'GPU Information' || fail "$kind: no information panel"
    click "$main" 130 409  # Overclock, through its warning
    wait_for 10 has_window Warning || fail "$kind: no overclocking warning"
    xdotool windowfocus "$(window_named Warning)" 2>/dev/null
    sleep 0.2
    xdotool key Return
    wait_for 10 has_window Overclocking || fail "$kind: no clock panel"
    clock=$(window_named Overclocking)
    click "$clock" 30 221  # the voltage panel
    wait_for 10 has_window Voltage || fail "$kind: no voltage panel"
    sleep 1.5
    alive
    no_box || fail "$kind: a message box came up"
    shot "${kind}_panels"
    xdotool mousemove --window "$main" 375 17 click 1
    wait_for 10 has_window 'Seting Properties' || fail "$kind: no settings window"
    xdotool key Right  # the Fan page
    sleep 0.5
    shot "${kind}_fan_page"
    xdotool key Escape
    wait_for 10 gone 'Seting Properties' || fail "$kind: the settings window stayed"
    alive
    no_box || fail "$kind: a message box came up"
    grep -q 'policy0=1 ' "$trace" 2>/dev/null && fail "$kind: the fan curve wrote to a fan the driver keeps: $(grep policy0=1 "$trace" | head -1)"
    click "$main" 435 17
    wait_exit 10
    [ "$VANTREL_RC" -eq 0 ] || fail "$kind: exit code $VANTREL_RC"
    refused=$(grep -v ' status=0$' "$trace" 2>/dev/null | sed 's/ status=.*//' | sort | uniq -c | awk '$1 > 1')
    [ -z "$refused" ] || fail "$kind: writes refused more than once: $refused"
    echo "$kind: $(wc -l <"$trace" 2>/dev/null || echo 0) writes, none refused twice"
done
echo "fanless cards: ok"
