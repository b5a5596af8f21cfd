#!/usr/bin/env bash
# A driver that misbehaves while the fan curve drives the fan: the cooler read
# failing, every read failing, the GPU lost, a cooler table with a nonsense
# default. Each fault with each way to end (close button, SIGTERM, SIGSEGV, the
# X server killed): the last fan write must still give the fan to the driver.
# Prints the table fault x exit path -> last fan write.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
failures=0

last_fan_write() { grep GPU_SetCoolerLevels "$E2E_DIR/trace.txt" 2>/dev/null | tail -1; }
curve_running() { [ "$(count_lines "$E2E_DIR/trace.txt" 'policy0=1 ')" -ge 2 ]; }
gone() { ! kill -0 "$VANTREL_PID" 2>/dev/null; }

reads="EnumPhysicalGPUs GPU_GetFullName GPU_GetAllClockFrequencies GPU_GetDynamicPstatesInfoEx GPU_GetThermalSettings \
GPU_GetVoltageStatus GPU_GetTachReading GPU_GetCoolerSettings GPU_PowerTopologyGetInfo GPU_PowerTopologyGetStatus \
GPU_PowerPoliciesGetInfo GPU_PowerPoliciesGetStatus GPU_ThermalPoliciesGetInfo GPU_ThermalPoliciesGetStatus \
GPU_GetPstates20 GPU_GetMemoryInfo"
everything="$reads GPU_SetCoolerLevels GPU_SetPstates20 GPU_PowerPoliciesSetStatus GPU_ThermalPoliciesSetStatus"
# card NAME FAULT_XML [COOLER_ATTRIBUTES]: a frozen card at 55 °C with that fault.
card() {
    cat >"$E2E_DIR/$1.xml" <<XML
<card frozen="1">$2<gpu><temperature initial="55" fixed="55"/>
<coolers><cooler level="40" defaultMin="${3:-30}" defaultPolicy="32" policy="32"/></coolers></gpu></card>
XML
}
card cooler-read '<fault interface="GPU_GetCoolerSettings" status="-1" after="8"/>'
card all-reads "<fault interface=\"$reads\" status=\"-1\" after=\"15\"/>"
card gpu-lost "<fault interface=\"$everything\" status=\"-101\" after=\"15\"/>"
card nonsense-table '' -30
declare -A expected=(
    [cooler-read]='target=7 level0=30 policy0=32 status=0'
    [all-reads]='target=7 level0=30 policy0=32 status=0'
    [gpu-lost]='level0=30 policy0=32 status=-101'
    [nonsense-table]='target=7 level0=0 policy0=32 status=0'
)

click_close() {
    wait_for 10 has_main_window || return
    eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
    xdotool mousemove $((X + 435)) $((Y + 17)) click 1
}
send() { kill -"$1" "$VANTREL_PID"; }

# run_case FAULT EXIT ACTION...: the curve runs, the fault takes hold, the action ends the program.
run_case() {
    local fault="$1" name="$2"; shift 2
    rm -f "$E2E_DIR/trace.txt"
    write_settings EnableFan=1 AutoSystem=1 UpdateTime=100
    cp "$E2E_DIR/$fault.xml" "$E2E_DIR/card.xml"
    start_vantrel
    wait_for 15 curve_running || fail "$fault: the curve never wrote"
    sleep 2.5
    "$@"
    wait_for 10 gone || { echo "FAIL: $fault, $name: still running"; failures=$((failures + 1)); kill -KILL "$VANTREL_PID"; }
    wait "$VANTREL_PID" 2>/dev/null
    check "$fault" "$name"
}
check() {
    local last
    last=$(last_fan_write)
    printf '%-15s %-16s %s\n' "$1" "$2" "${last#GPU_SetCoolerLevels gpu=0 }"
    [[ "$last" == *"${expected[$1]}" ]] || { echo "FAIL: $1, $2: fan not handed back"; failures=$((failures + 1)); }
}

# The X server goes away under the program: Qt ends it with exit().
kill_x_server() {
    local fault="$1"
    private_x_server
    rm -f "$E2E_DIR/trace.txt"
    write_settings EnableFan=1 AutoSystem=1 UpdateTime=100
    cp "$E2E_DIR/$fault.xml" "$E2E_DIR/card.xml"
    DISPLAY="$PRIVATE_DISPLAY" start_vantrel
    wait_for 15 curve_running || fail "$fault, X killed: the curve never wrote"
    sleep 2.5
    kill -KILL "$PRIVATE_X_PID"
    wait_for 10 gone || { echo "FAIL: $fault, X killed: still running"; kill -KILL "$VANTREL_PID"; }
    wait "$VANTREL_PID" 2>/dev/null
    check "$fault" "X server killed"
}

for fault in cooler-read all-reads gpu-lost nonsense-table; do
    run_case "$fault" "close button" click_close
    run_case "$fault" SIGTERM send TERM
    run_case "$fault" SIGSEGV send SEGV
    kill_x_server "$fault"
done
# Every exit path tried a hand-back and said how it went.
grep -q 'Fan of GPU 1 ' "$E2E_DIR/stdout.txt" || fail "the outcome of the hand-back was not printed"

[ "$failures" -eq 0 ] || fail "$failures runs left the fan manual"
echo "fan faults: ok"
