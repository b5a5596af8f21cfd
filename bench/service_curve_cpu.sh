#!/usr/bin/env bash
# The cost of the service running a kept fan curve with no client: vantreld over the fake NVML
# with a 1 s curve, its CPU over SECONDS as a percentage of one core, from utime + stime of
# /proc/PID/stat (in clock ticks) and from /proc/PID/schedstat (nanoseconds on a CPU); then the latency of `vantrel --set` through the service, once and with --persist,
# as the median wall time of RUNS commands (a process start included).
# Not a test: prints figures.
# Usage: service_curve_cpu.sh [-s SECONDS] [-r RUNS] RUNTIME_DIR FAKE_NVML_DIR
set -u
seconds=60 runs=20
while getopts s:r: opt; do
    case $opt in
        s) seconds=$OPTARG ;;
        r) runs=$OPTARG ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -eq 2 ] || { echo "usage: $0 [-s SECONDS] [-r RUNS] RUNTIME_DIR FAKE_NVML_DIR" >&2; exit 2; }
runtime=$1 fake=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-service-bench-XXXXXX")
trap 'kill "$service" 2>/dev/null; wait "$service" 2>/dev/null; rm -rf "$work"' EXIT
cp -r "$runtime/lib" "$runtime/vantrel" "$work/"
cat >"$work/Vantrel.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<Vantrel><FanDlg><UpdateTime>1000</UpdateTime></FanDlg></Vantrel>
XML
export VANTREL_SERVICE_STATE="$work/kept" FAKE_NVML_TEMPERATURE="$work/temperature"
echo 55 >"$FAKE_NVML_TEMPERATURE"
LD_LIBRARY_PATH="$fake" FAKE_NVML_CALLS="$work/calls.txt" \
    "$runtime/vantreld" --socket "$work/vantreld.sock" --group "" --state-dir "$work" 2>"$work/vantreld.log" &
service=$!
for _ in $(seq 100); do [ -S "$work/vantreld.sock" ] && break; sleep 0.05; done
client() {
    VANTREL_SERVICE_SOCKET="$work/vantreld.sock" LD_LIBRARY_PATH="$fake" \
        "$work/vantrel" --driver "$work/lib/libnvapi-nvml.so" "$@" >/dev/null
}
client --set fan=curve,hysteresis=2 --persist || { echo "--set --persist failed" >&2; exit 1; }

ticks=$(getconf CLK_TCK)
cpu() { awk '{ print $14 + $15 }' "/proc/$service/stat"; }
cpu_ns() { awk '{ print $1 }' "/proc/$service/schedstat"; }
before=$(cpu) before_ns=$(cpu_ns)
start=$(date +%s%N)
sleep "$seconds"
after=$(cpu) after_ns=$(cpu_ns)
elapsed_ns=$(( $(date +%s%N) - start ))
awk -v t="$((after - before))" -v hz="$ticks" -v ns="$elapsed_ns" \
    'BEGIN { printf "service CPU with a 1 s kept curve (utime+stime): %d ticks of 1/%d s over %.1f s = %.4f %% of one core\n", t, hz, ns / 1e9, 100 * t / hz / (ns / 1e9) }'
awk -v c="$((after_ns - before_ns))" -v ns="$elapsed_ns" \
    'BEGIN { printf "service CPU with a 1 s kept curve (schedstat): %.2f ms over %.1f s = %.4f %% of one core\n", c / 1e6, ns / 1e9, 100 * c / ns }'
echo "curve ticks seen (temperature reads are not recorded; level writes): $(grep -c 'SetFanSpeed dev0 fan1' "$work/calls.txt")"

median_ms() {  # median_ms ARGS...: the median wall time of RUNS clients
    local i times=()
    for (( i = 0; i < runs; i++ )); do
        local t0=$(date +%s%N)
        client "$@" || { echo "client $* failed" >&2; exit 1; }
        times+=($(( ($(date +%s%N) - t0) / 1000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "%.1f ms (min %.1f, max %.1f)", a[int((NR + 1) / 2)] / 1000, a[1] / 1000, a[NR] / 1000 }'
}
echo "vantrel --set power=90 through the service: median $(median_ms --set power=90) over $runs runs"
echo "vantrel --set power=90 --persist: median $(median_ms --set power=90 --persist) over $runs runs"
echo "vantrel --status (the same process start, for comparison): median $(median_ms --status) over $runs runs"
