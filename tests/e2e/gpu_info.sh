#!/usr/bin/env bash
# The information panel on a two-GPU card with the fan curve on: choosing GPU 2
# hands GPU 1's fan back and moves the curve's writes to GPU 2, the panel follows
# a drag of the main window, and closing it neither hands a fan back nor
# restarts the driver.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
write_settings EnableFan=1 AutoSystem=1 UpdateTime=50
gpu() { echo "<gpu name=\"$1\"><temperature initial=\"$2\" fixed=\"$2\"/><coolers><cooler level=\"40\" defaultMin=\"30\" defaultPolicy=\"32\" policy=\"32\"/></coolers></gpu>"; }
echo "<card frozen=\"1\">$(gpu 'Sim 680' 45)$(gpu 'Sim 460' 65)</card>" >"$E2E_DIR/card.xml"
trace="$E2E_DIR/trace.txt"
start_vantrel
wait_for 15 has_main_window || fail "no main window"
win=$(main_window)
wait_for 10 grep -q 'gpu=0 target=7 level0=37 policy0=1' "$trace" || fail "no curve writes to GPU 1"

geometry() { xdotool getwindowgeometry "$1" | sed -n 's/ *Position: \([-0-9]*\),\([-0-9]*\).*/\1 \2/p'; }
click() { xdotool mousemove "$1" "$2" && sleep 0.2 && xdotool click 1 && sleep 0.3; }
read -r x y <<<"$(geometry "$win")"
click $((x + 346)) $((y + 371))  # GPU Info
wait_for 10 xdotool search --onlyvisible --name '^GPU Information$' || fail "no information panel"
panel=$(xdotool search --onlyvisible --name '^GPU Information$' | head -1)
[ "$(geometry "$panel")" = "$((x + 15)) $((y + 435))" ] || fail "panel at $(geometry "$panel"), main at $x $y"

# The list's head, then the entry under it: "2.Sim 460".
click $((x + 15 + 220)) $((y + 435 + 29))
click $((x + 15 + 220)) $((y + 435 + 51))
wait_for 10 grep -q 'gpu=1 target=7 level0=57 policy0=1' "$trace" || fail "no curve writes to GPU 2"
grep -q 'gpu=0 target=7 level0=30 policy0=32' "$trace" || fail "the fan of GPU 1 was not handed back"
sed -n '/gpu=1 /,$p' "$trace" | grep -q 'gpu=0' && fail "writes to GPU 1 after choosing GPU 2"
grep -B2 -m1 'gpu=1 ' "$trace"

# Drag the main window by its background: the panel follows.
xdotool mousemove $((x + 120)) $((y + 60)) && sleep 0.2 && xdotool mousedown 1
for i in 1 2 3 4; do xdotool mousemove_relative -- 10 -15 && sleep 0.05; done
xdotool mouseup 1
wait_for 5 bash -c "[ \"\$(xdotool getwindowgeometry $win | grep -c 'Position: $((x + 40)),$((y - 60))')\" = 1 ]" ||
    fail "main window at $(geometry "$win")"
wait_for 5 bash -c "xdotool getwindowgeometry $panel | grep -q 'Position: $((x + 55)),$((y + 375))'" ||
    fail "panel at $(geometry "$panel") after the drag"

# A restarted simulator would read the description again: make that visible.
echo "<card frozen=\"1\">$(gpu 'Other' 80)</card>" >"$E2E_DIR/card.xml"
click $((x + 40 + 15 + 219)) $((y - 60 + 435 + 215))  # Back
wait_for 5 bash -c "! xdotool search --onlyvisible --name '^GPU Information$'" || fail "the panel stayed"
lines=$(wc -l <"$trace")
sleep 1
after=$(tail -n +"$((lines + 1))" "$trace")
[ -n "$after" ] || fail "the curve stopped"
echo "$after" | grep -v -x 'GPU_SetCoolerLevels gpu=1 target=7 level0=57 policy0=1 status=0' &&
    fail "closing the panel touched the card"
kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$(tail -1 "$trace")" = 'GPU_SetCoolerLevels gpu=1 target=7 level0=30 policy0=32 status=0' ] ||
    fail "fan of GPU 2 not handed back at the end: $(tail -1 "$trace")"
echo "gpu info: ok"
