#!/usr/bin/env bash
# The fan curve drives the simulated card's fan; each quit signal hands it back.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
restore='GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0'

for signal in TERM INT HUP; do
    rm -f "$E2E_DIR/trace.txt"
    write_settings EnableFan=1 AutoSystem=1 UpdateTime=50
    write_card 45
    start_vantrel
    wait_for 20 bash -c "[ \$(grep -c 'level0=37 policy0=1' '$E2E_DIR/trace.txt' 2>/dev/null) -ge 3 ]" ||
        fail "no curve level 37 on the card at 45 °C"
    kill -"$signal" "$VANTREL_PID"
    wait_exit 10
    [ "$VANTREL_RC" -eq 0 ] || fail "SIG$signal: exit code $VANTREL_RC"
    [ "$(tail -1 "$E2E_DIR/trace.txt")" = "$restore" ] || fail "SIG$signal: fan not handed back: $(tail -1 "$E2E_DIR/trace.txt")"
    grep -q '<EnableFan>1</EnableFan>' "$E2E_BIN/Vantrel.xml" || fail "SIG$signal: EnableFan not written"
    grep -v -e 'level0=37 policy0=1' -e "$restore" "$E2E_DIR/trace.txt" && fail "unexpected writes"
done

# The falling segment and the stepped form.
rm -f "$E2E_DIR/trace.txt"
write_settings EnableFan=1 UpdateTime=50 FanMap='OneX="30" OneY="30" TwoX="60" TwoY="80" ThreeX="70" ThreeY="60" FourX="80" FourY="90" FiveX="85" FiveY="95" SixX="90" SixY="96" SeverX="95" SeverY="97" EightX="100" EightY="100" blLine="0"'
write_card 65
start_vantrel
wait_for 20 grep -q 'level0=70 policy0=1' "$E2E_DIR/trace.txt" || fail "no level 70 at 65 °C"
kill -TERM "$VANTREL_PID"
wait_exit 10

rm -f "$E2E_DIR/trace.txt"
write_settings EnableFan=1 UpdateTime=50 FanMap='OneX="30" OneY="30" TwoX="50" TwoY="50" ThreeX="60" ThreeY="60" FourX="70" FourY="70" FiveX="75" FiveY="75" SixX="80" SixY="80" SeverX="85" SeverY="90" EightX="90" EightY="100" blLine="1"'
write_card 49
start_vantrel
wait_for 20 grep -q 'level0=30 policy0=1' "$E2E_DIR/trace.txt" || fail "stepped: no level 30 at 49 °C"
kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$(tail -1 "$E2E_DIR/trace.txt")" = "$restore" ] || fail "stepped: fan not handed back"
grep -q '<EnableFan>0</EnableFan>' "$E2E_BIN/Vantrel.xml" || fail "EnableFan not cleared with AutoSystem 0"
echo "fan curve: ok"
