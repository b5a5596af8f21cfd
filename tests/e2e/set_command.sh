#!/usr/bin/env bash
# vantrel --set and --apply-profile on the simulated card, in process: each value reaches the
# card's trace; a value out of range, a bad key, a fixed fan without --persist and --persist
# without the service are each refused with one line on stderr and nothing written.
# Usage: set_command.sh RUNTIME_DIR
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_runtime
write_card 50
trace="$E2E_DIR/trace.txt"
sim() {
    VANTREL_SIM_TRACE="$trace" VANTREL_SIM_FROZEN=1 VANTREL_SERVICE_SOCKET= \
        "$E2E_BIN/vantrel" --simulate "$E2E_DIR/card.xml" "$@" 2>"$E2E_DIR/stderr.txt"
}
writes() { grep -c -E 'Set|status=' "$trace" 2>/dev/null | head -1; grep -E '_Set' "$trace" 2>/dev/null || true; }
refused() {  # refused CODE ARGS...: exit CODE, one line on stderr, no write in the trace
    local code=$1; shift
    : >"$trace"
    sim "$@" >/dev/null
    local rc=$?
    [ "$rc" -eq "$code" ] || fail "$* exited $rc, not $code: $(cat "$E2E_DIR/stderr.txt")"
    [ "$(grep -c . "$E2E_DIR/stderr.txt")" -le 2 ] || fail "$*: more than one line: $(cat "$E2E_DIR/stderr.txt")"
    ! grep -q 'Set' "$trace" || fail "$* wrote: $(grep Set "$trace")"
    echo "refused ($rc): $* -> $(head -1 "$E2E_DIR/stderr.txt")"
}
write_settings

: >"$trace"
sim --set power=90,temp-target=80,gpu-offset=50,mem-offset=200,fan=auto || fail "--set: $(cat "$E2E_DIR/stderr.txt")"
grep -q 'PowerPoliciesSetStatus.*status=0' "$trace" || fail "no power write: $(cat "$trace")"
grep -q 'ThermalPoliciesSetStatus.*status=0' "$trace" || fail "no temperature target: $(cat "$trace")"
[ "$(grep -c 'SetPstates20.*status=0' "$trace")" -eq 2 ] || fail "not two offsets: $(cat "$trace")"
grep -q 'SetCoolerLevels.*status=0' "$trace" || fail "fan=auto not written: $(cat "$trace")"
echo "--set trace:"; grep Set "$trace"

refused 7 --set power=90,gpu-offset=5000
refused 2 --set power=abc
refused 2 --set volume=3
refused 2 --set fan=50
refused 2 --set hysteresis=3
refused 8 --set power=90 --persist
refused 7 --set temp-target=150 --gpu all

# Profile 2 of the clock panel: absolute clocks, power and temperature target.
sed -i 's|</Vantrel>|<ClockSetDlg><Two GPUClock="0" MemoryClock="0" FanSpeed="50" TDP="95" GPUTemp="79"/></ClockSetDlg></Vantrel>|' "$E2E_BIN/Vantrel.xml"
: >"$trace"
sim --apply-profile 2 || fail "--apply-profile: $(cat "$E2E_DIR/stderr.txt")"
grep -q 'PowerPoliciesSetStatus.*status=0' "$trace" || fail "profile: no power write: $(cat "$trace")"
grep -q 'ThermalPoliciesSetStatus.*status=0' "$trace" || fail "profile: no temperature target: $(cat "$trace")"
! grep -q 'SetCoolerLevels' "$trace" || fail "profile: the fan was written"
refused 7 --apply-profile 1
refused 2 --apply-profile 4
echo "set command: ok"
