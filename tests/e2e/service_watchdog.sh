#!/usr/bin/env bash
# The real program on the NVML bridge over the fake NVML, its own writes refused: the fan curve
# reaches the card only through vantreld; after kill -9 of the program the service gives the
# fans back within a second; a clean close gives them back once.
# Usage: service_watchdog.sh RUNTIME_DIR FAKE_NVML_DIR
source "$(dirname "$0")/e2e_lib.sh" "$1"
fake_dir="$2"
e2e_display
e2e_runtime
sock="$E2E_DIR/vantreld.sock"
calls="$E2E_DIR/calls.txt"   # what the service's NVML was asked
own="$E2E_DIR/program.txt"   # what the program's own NVML was asked: must stay empty

VANTREL_SERVICE_STATE="$E2E_DIR/kept" LD_LIBRARY_PATH="$fake_dir" FAKE_NVML_CALLS="$calls" \
    "$E2E_RUNTIME/vantreld" --socket "$sock" --group "" 2>"$E2E_DIR/vantreld.log" &
E2E_PIDS+=($!)
wait_for 10 test -S "$sock" || fail "no service socket"

run_program() {
    write_settings EnableFan=1 AutoSystem=1 UpdateTime=50
    VANTREL_SERVICE_SOCKET="$sock" LD_LIBRARY_PATH="$fake_dir" FAKE_NVML_DENY_SETTERS=1 FAKE_NVML_CALLS="$own" \
        "$E2E_BIN/vantrel" --driver "$E2E_BIN/lib/libnvapi-nvml.so" >"$E2E_DIR/stdout.txt" 2>&1 &
    VANTREL_PID=$!
    E2E_PIDS+=($VANTREL_PID)
}
handed_back() { [ "$(count_lines "$calls" 'SetDefaultFanSpeed dev0 fan1')" -ge "$1" ]; }

# 55 °C on the default curve is 47 %.
run_program
wait_for 20 grep -q 'SetFanSpeed dev0 fan1 47' "$calls" || fail "no curve level through the service: $(cat "$E2E_DIR/stdout.txt")"
start=$(date +%s%N)
kill -KILL "$VANTREL_PID"
wait_for 2 handed_back 1 || fail "fans not given back after kill -9"
ms=$(( ($(date +%s%N) - start) / 1000000 ))
echo "fans given back ${ms} ms after kill -9"
[ "$ms" -le 1000 ] || fail "hand-back took ${ms} ms"
wait "$VANTREL_PID" 2>/dev/null

before=$(count_lines "$calls" 'SetFanSpeed dev0 fan1 47')
run_program
wait_for 20 bash -c "[ \$(grep -c 'SetFanSpeed dev0 fan1 47' '$calls') -gt $before ]" || fail "second run: no curve level"
kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
sleep 0.5
[ "$(count_lines "$calls" 'SetDefaultFanSpeed dev0 fan1')" -eq 2 ] || fail "clean close: not exactly one hand-back: $(cat "$calls")"
[ ! -s "$own" ] || fail "the program wrote in-process: $(cat "$own")"
grep -q 'went away' "$E2E_DIR/vantreld.log" || fail "no journal line for the killed client"
echo "service watchdog: ok"
