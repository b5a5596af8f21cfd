#!/usr/bin/env bash
# Closing through the window when the settings document is hostile, and a cooler
# read that keeps failing: no crash, the fan handed back, the user's file kept,
# and one message box per failure episode.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
restore='GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0'
last_fan_write() { grep GPU_SetCoolerLevels "$E2E_DIR/trace.txt" 2>/dev/null | tail -1; }
click_close() {
    wait_for 10 has_main_window || fail "no main window"
    eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
    xdotool mousemove $((X + 435)) $((Y + 17)) click 1
}
write_card 45

# A hand edit nested 200 000 levels deep inside EnableFan.
rm -f "$E2E_DIR/trace.txt"
write_settings EnableFan=1 UpdateTime=50
python3 - "$E2E_BIN/Vantrel.xml" <<'PY'
import sys
p = sys.argv[1]
s = open(p).read().replace("<EnableFan>1", "<EnableFan>1" + "<a>" * 200000 + "</a>" * 200000)
open(p, "w").write(s)
PY
cp "$E2E_BIN/Vantrel.xml" "$E2E_DIR/deep.xml"
start_vantrel
click_close
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "deep document: exit code $VANTREL_RC"
[ "$(last_fan_write)" = "$restore" ] || fail "deep document: fan not handed back: $(last_fan_write)"
cmp -s "$E2E_BIN/Vantrel.xml.bad" "$E2E_DIR/deep.xml" || fail "deep document: the user's file was not kept"

# A document the program cannot save.
rm -f "$E2E_DIR/trace.txt" "$E2E_BIN"/Vantrel.xml*
write_settings EnableFan=1 UpdateTime=50
chmod 444 "$E2E_BIN/Vantrel.xml"
cp "$E2E_BIN/Vantrel.xml" "$E2E_DIR/readonly.xml"
start_vantrel
wait_for 15 grep -q 'policy0=1 ' "$E2E_DIR/trace.txt" || fail "read-only document: the curve never wrote"
click_close
wait_exit 10
[ "$(last_fan_write)" = "$restore" ] || fail "read-only document: fan not handed back: $(last_fan_write)"
cmp -s "$E2E_BIN/Vantrel.xml" "$E2E_DIR/readonly.xml" || fail "read-only document changed"
chmod 644 "$E2E_BIN/Vantrel.xml"

# Cooler reads failing for a few seconds: one box; once it is answered no other
# comes back during that failure, only the printed line.
rm -f "$E2E_DIR/trace.txt"
write_settings Right=2
sed -i 's|</gpu>|<fault interface="GPU_GetCoolerSettings" status="-10" after="2" times="20"/></gpu>|' "$E2E_DIR/card.xml"
start_vantrel
box() { xdotool search --onlyvisible --name 'NVAPI' | head -1; }
box_up() { [ -n "$(box)" ]; }
box_gone() { [ -z "$(box)" ]; }
wait_for 10 box_up || fail "no message box"
xdotool windowfocus --sync "$(box)" key Return
wait_for 5 box_gone || fail "the box did not go"
sleep 2
[ -z "$(box)" ] || fail "the box came back within the same failure"
[ "$(count_lines "$E2E_DIR/stdout.txt" 'NVAPI信息: Handle passed has been invalidated .')" -ge 5 ] ||
    fail "later failures printed nothing"
# The failure ends (its lines stop) and the window closes as usual.
printed() { count_lines "$E2E_DIR/stdout.txt" 'NVAPI信息'; }
settled() { local before; before=$(printed); sleep 0.6; [ "$before" -eq "$(printed)" ]; }
wait_for 20 settled || fail "the reads kept failing"
click_close
wait_exit 10
[ "$(last_fan_write)" = "$restore" ] || fail "failing reads: fan not handed back"
echo "close faults: ok"
