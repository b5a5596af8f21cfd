#!/usr/bin/env bash
# The whole program's CPU and resident size with the monitor panel open, on the
# simulated card under an X server of its own. Not a test: prints figures.
# Usage: monitor_cpu.sh RUNTIME_DIR [SECONDS=60] [REFRESH_MS=1000] [panel|nopanel]
# Prints the CPU share of one core over SECONDS (after a 5 s settling time) and
# the resident size once a minute and at the end.
set -u
runtime=$1 seconds=${2:-60} refresh=${3:-1000} mode=${4:-panel}
dir=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-cpu-XXXXXX")
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$dir"; }
trap cleanup EXIT

for n in $(seq 60 99); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$n" QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

mkdir -p "$dir/bin"
cp -r "$runtime/vantrel" "$runtime/lib" "$runtime/ImageRes" "$runtime/font" "$dir/bin/"
cat >"$dir/bin/Vantrel.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<Vantrel><GeneralDlg><StartMinized>0</StartMinized><UpadteCheck>0</UpadteCheck></GeneralDlg>
<FanDlg><EnableFan>0</EnableFan></FanDlg>
<MonitoringDlg><RefreshRate>$refresh</RefreshRate><blLogToFile>1</blLogToFile><LogToFilePath>$dir/log.txt</LogToFilePath>
<GPUClock Max="3000" Min="0">1</GPUClock><MemoryClock Max="12000" Min="0">1</MemoryClock>
<GPUTemperature Max="100" Min="0">1</GPUTemperature><GPUUsage Max="100" Min="0">1</GPUUsage></MonitoringDlg></Vantrel>
XML
"$dir/bin/vantrel" --simulate >/dev/null 2>&1 &
pid=$!
pids+=($pid)
for _ in $(seq 100); do win=$(xdotool search --onlyvisible --name '^Vantrel$' 2>/dev/null | head -1); [ -n "$win" ] && break; sleep 0.1; done
[ -n "$win" ] || { echo "no main window" >&2; exit 1; }
if [ "$mode" = panel ]; then
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove $((X + 346)) $((Y + 409)) click 1
    xdotool mousemove 1200 1000  # off both windows
fi
sleep 5

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
rss() { awk '/VmRSS/ {print $2}' "/proc/$pid/status"; }
hz=$(getconf CLK_TCK)
start=$(ticks) t0=$(date +%s.%N)
echo "rss at 0 s: $(rss) kB"
for (( s = 1; s <= seconds; s++ )); do
    sleep 1
    (( s % 60 == 0 )) && echo "rss at $s s: $(rss) kB"
done
end=$(ticks) t1=$(date +%s.%N)
awk -v a="$start" -v b="$end" -v hz="$hz" -v t0="$t0" -v t1="$t1" -v m="$mode" -v r="$refresh" \
    'BEGIN { printf "cpu (%s, %d ms): %.2f %% of one core over %.0f s\n", m, r, 100 * (b - a) / hz / (t1 - t0), t1 - t0 }'
echo "rss at end: $(rss) kB; log lines: $(iconv -f UTF-16LE -t UTF-8 "$dir/log.txt" 2>/dev/null | wc -l)"
