#!/usr/bin/env bash
# Without the window: `vantrel --set fan=curve,hysteresis=3 --persist` through the real bridge
# to the real vantreld over the fake NVML; the service restarted with no client runs the kept
# curve from the fake's temperature; the window's own curve takes the fans over, and after
# kill -9 of the window the kept curve has them again.
# Usage: headless_service.sh RUNTIME_DIR FAKE_NVML_DIR
source "$(dirname "$0")/e2e_lib.sh" "$1"
fake_dir="$2"
e2e_display
e2e_runtime
sock="$E2E_DIR/vantreld.sock"
calls="$E2E_DIR/calls.txt"
log="$E2E_DIR/vantreld.log"
export VANTREL_SERVICE_STATE="$E2E_DIR/kept" FAKE_NVML_TEMPERATURE="$E2E_DIR/temperature"
echo 55 >"$FAKE_NVML_TEMPERATURE"

start_service() {
    LD_LIBRARY_PATH="$fake_dir" FAKE_NVML_CALLS="$calls" \
        "$E2E_RUNTIME/vantreld" --socket "$sock" --group "" --state-dir "$E2E_DIR" 2>>"$log" &
    SERVICE_PID=$!
    E2E_PIDS+=($SERVICE_PID)
    wait_for 10 test -S "$sock" || fail "no service socket: $(cat "$log")"
}
client() {
    VANTREL_SERVICE_SOCKET="$sock" LD_LIBRARY_PATH="$fake_dir" FAKE_NVML_CALLS="$E2E_DIR/program.txt" \
        "$E2E_BIN/vantrel" --driver "$E2E_BIN/lib/libnvapi-nvml.so" "$@"
}

start_service
# The settings' curve at 55 °C is 47 %; every second.
write_settings UpdateTime=1000
client --set fan=curve,hysteresis=3 --persist || fail "--set --persist: $?"
[ -s "$E2E_DIR/kept/vantreld.kept" ] || fail "nothing kept"
kill -TERM "$SERVICE_PID"; wait "$SERVICE_PID"

# The boot case: the service alone.
: >"$calls"
start_service
wait_for 10 grep -q 'SetFanSpeed dev0 fan1 47' "$calls" || fail "the kept curve did not run: $(cat "$log")"
echo 67 >"$FAKE_NVML_TEMPERATURE"   # 58 % on the settings' curve
wait_for 10 grep -q 'SetFanSpeed dev0 fan1 58' "$calls" || fail "the kept curve did not follow: $(cat "$calls")"
client --service-status --format json >"$E2E_DIR/status.json" || fail "--service-status: $?"
grep -q '"fan_holder":"service"' "$E2E_DIR/status.json" || fail "status: $(cat "$E2E_DIR/status.json")"
grep -q '"hysteresis_c":3' "$E2E_DIR/status.json" || fail "status: $(cat "$E2E_DIR/status.json")"
echo "--- boot case: service log"; cat "$log"; echo "--- fake NVML record"; cat "$calls"

# The window's curve, flat at 80 %, takes the fans over and gives them back when killed.
write_settings EnableFan=1 AutoSystem=1 UpdateTime=200 FanMap='OneX="0" OneY="80" TwoX="10" TwoY="80" ThreeX="20" ThreeY="80" FourX="30" FourY="80" FiveX="40" FiveY="80" SixX="50" SixY="80" SeverX="60" SeverY="80" EightX="70" EightY="80" blLine="0"'
VANTREL_SERVICE_SOCKET="$sock" LD_LIBRARY_PATH="$fake_dir" FAKE_NVML_CALLS="$E2E_DIR/program.txt" \
    "$E2E_BIN/vantrel" --driver "$E2E_BIN/lib/libnvapi-nvml.so" >"$E2E_DIR/stdout.txt" 2>&1 &
VANTREL_PID=$!
E2E_PIDS+=($VANTREL_PID)
wait_for 20 grep -q 'SetFanSpeed dev0 fan1 80' "$calls" || fail "the window's curve did not take over: $(cat "$log")"
grep -q 'kept fan setting waits' "$log" || fail "no journal line for the take-over"
before=$(count_lines "$calls" 'SetFanSpeed dev0 fan1 58')
start=$(date +%s%N)
kill -KILL "$VANTREL_PID"
wait "$VANTREL_PID" 2>/dev/null
wait_for 5 bash -c "[ \$(grep -c 'SetFanSpeed dev0 fan1 58' '$calls') -gt $before ]" || fail "the kept curve did not resume: $(tail -n 8 "$log"; tail -n 4 "$calls")"
echo "the kept curve had the fans again $(( ($(date +%s%N) - start) / 1000000 )) ms after kill -9 of the window"
[ "$(count_lines "$calls" 'SetDefaultFanSpeed')" -eq 0 ] || fail "the fans went to the driver in between: $(cat "$calls")"
[ ! -s "$E2E_DIR/program.txt" ] || fail "the program wrote in-process: $(cat "$E2E_DIR/program.txt")"
echo "--- take-over: service log"; tail -n 6 "$log"

# The stop gives the fans to the driver.
kill -TERM "$SERVICE_PID"; wait "$SERVICE_PID"
grep -q 'SetDefaultFanSpeed dev0 fan1' "$calls" || fail "no hand-back at the stop"

# A boot where the service starts before the driver: NVML comes later, the kept curve then runs.
mkdir "$E2E_DIR/late"
: >"$calls"
LD_LIBRARY_PATH="$E2E_DIR/late" FAKE_NVML_CALLS="$calls" \
    "$E2E_RUNTIME/vantreld" --socket "$sock" --group "" --state-dir "$E2E_DIR" 2>>"$log" &
SERVICE_PID=$!
E2E_PIDS+=($SERVICE_PID)
wait_for 10 grep -q 'NVML did not start' "$log" || fail "the service did not start without NVML"
cp "$fake_dir/libnvidia-ml.so.1" "$E2E_DIR/late/"
wait_for 30 grep -q 'SetFanSpeed dev0 fan1 58' "$calls" || fail "no kept curve once NVML came: $(tail -n 5 "$log")"
grep -q 'NVML started late' "$log" || fail "no journal line for the late start"
kill -TERM "$SERVICE_PID"; wait "$SERVICE_PID"
echo "headless service: ok"
