#!/usr/bin/env bash
# The idle cost of the main window on a Wayland desktop: the real program on the
# simulated card under a headless Weston of its own, natively and through
# XWayland (and under Xvfb for comparison), its CPU (utime + stime from /proc) and
# the display server's over SECONDS as a percentage of one core, and its VmRSS at
# the end. Not a test: prints figures.
#
# Usage: wayland_idle.sh [-s SECONDS] [-r RUNS] [-p "wayland xwayland xvfb"] RUNTIME_DIR
set -u
seconds=20 runs=3 platforms="wayland xwayland xvfb"
while getopts s:r:p: opt; do
    case $opt in
        s) seconds=$OPTARG ;;
        r) runs=$OPTARG ;;
        p) platforms=$OPTARG ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -eq 1 ] || { echo "usage: $0 [-s SECONDS] [-r RUNS] [-p PLATFORMS] RUNTIME_DIR" >&2; exit 2; }
command -v weston >/dev/null || { echo "weston is not installed" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-wlidle-XXXXXX")
chmod 700 "$work"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"; }
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work
unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS

# A private copy of the runtime folder: no update check, no fan curve.
bin="$work/bin"
mkdir -p "$bin"
cp -r "$1/vantrel" "$1/lib" "$1/ImageRes" "$1/font" "$bin/"
cat >"$bin/Vantrel.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<Vantrel><GeneralDlg><StartMinized>0</StartMinized><UpadteCheck>0</UpadteCheck></GeneralDlg>
<FanDlg><EnableFan>0</EnableFan></FanDlg>
<QuickSightSettingsDlg><Left>0</Left><Right>2</Right></QuickSightSettingsDlg></Vantrel>
XML
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\n' >"$work/weston.ini"

ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
server_ticks() { local t=0 p; for p in "$@"; do t=$((t + $(ticks "$p"))); done; echo "$t"; }
wait_file() { local i; for i in $(seq 150); do [ -e "$1" ] && return 0; sleep 0.1; done; return 1; }

# measure PLATFORM: prints "program_percent server_percent rss_kib".
measure() {
    local platform=$1 servers=() pid log="$work/server.log"
    case $platform in
        wayland | xwayland)
            local extra=()
            [ "$platform" = xwayland ] && extra=(--xwayland)
            rm -f "$work/wl-idle"
            weston --config="$work/weston.ini" --backend=headless-backend.so --use-pixman --socket=wl-idle \
                --width=1920 --height=1080 "${extra[@]}" >"$log" 2>&1 &
            servers=($!)
            wait_file "$work/wl-idle" || { echo "weston did not start" >&2; return 1; }
            export WAYLAND_DISPLAY=wl-idle
            if [ "$platform" = xwayland ]; then
                local i
                for i in $(seq 100); do grep -q 'xserver listening on display' "$log" && break; sleep 0.1; done
                export DISPLAY
                DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$log" | head -1)
            fi
            ;;
        xvfb)
            local n
            for n in $(seq 57 99); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
            Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
            servers=($!)
            export DISPLAY=":$n"
            wait_file "/tmp/.X11-unix/X$n" || { echo "no Xvfb" >&2; return 1; }
            ;;
    esac
    pids+=("${servers[@]}")
    "$bin/vantrel" --simulate >"$work/program.log" 2>&1 &
    pid=$!
    sleep 4  # start-up done, the window drawn
    # XWayland starts on demand: count it once it runs.
    [ "$platform" = xwayland ] && servers+=($(pgrep -P "${servers[0]}" Xwayland))
    kill -0 "$pid" 2>/dev/null || { echo "the program ended: $(cat "$work/program.log")" >&2; return 1; }
    local a0 s0 t0 a1 s1 t1 rss
    a0=$(ticks "$pid") s0=$(server_ticks "${servers[@]}") t0=$(date +%s.%N)
    sleep "$seconds"
    a1=$(ticks "$pid") s1=$(server_ticks "${servers[@]}") t1=$(date +%s.%N)
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null
    kill "${servers[0]}" 2>/dev/null
    wait "${servers[0]}" 2>/dev/null
    unset DISPLAY WAYLAND_DISPLAY
    awk -v a0="$a0" -v a1="$a1" -v s0="$s0" -v s1="$s1" -v t0="$t0" -v t1="$t1" -v rss="$rss" \
        -v hz="$(getconf CLK_TCK)" \
        'BEGIN { printf "%.3f %.3f %d\n", 100 * (a1 - a0) / hz / (t1 - t0), 100 * (s1 - s0) / hz / (t1 - t0), rss }'
}

results="$work/results"
for (( r = 1; r <= runs; r++ )); do
    for platform in $platforms; do
        figures=$(measure "$platform") || continue
        echo "run $r $platform: program % / server % of one core, program VmRSS KiB: $figures (load $(cut -d' ' -f1 /proc/loadavg))"
        echo "$platform $figures" >>"$results"
    done
done

median() { sort -g | awk '{ v[NR] = $1 } END { print NR ? (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) : "-" }'; }
echo
echo "medians over $runs runs of $seconds s"
for platform in $platforms; do
    [ -s "$results" ] || break
    printf "%-9s program %s %%  server %s %%  VmRSS %s KiB\n" "$platform" \
        "$(awk -v p="$platform" '$1 == p { print $2 }' "$results" | median)" \
        "$(awk -v p="$platform" '$1 == p { print $3 }' "$results" | median)" \
        "$(awk -v p="$platform" '$1 == p { print $4 }' "$results" | median)"
done
