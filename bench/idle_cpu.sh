#!/usr/bin/env bash
# The idle cost of the skinned windows: the real program on the simulated card
# under an X server of its own, its CPU and the X server's over SECONDS (every
# thread's time on a CPU as the scheduler counts it), as a percentage of one core: the main window alone (main), covered by another
# window (covered), minimised with its own button (minimised), and with each
# panel open (monitor, info, clock). Not a test: prints figures.
#
# Usage: idle_cpu.sh [-s SECONDS] [-r RUNS] [-c "main covered minimised monitor info clock"]
#                    [-p "main covered"] [-f] RUNTIME_DIR...
# With several runtime folders (a build before and after a change) the runs
# alternate between them, so a busy moment of the machine hits both alike.
# -f keeps the simulated card's readings still, as a real card's are at rest
# (otherwise its load swings with a 40 s period and the gauges move at most ticks).
# -p names the cases the peer, psensor (a GTK sensor monitor refreshing every
# second), runs in each round beside them, where it is installed; -p "" for none.
# Prints one line per run and, at the end, the median of each (folder, case).
# IDLE_CPU_DISPLAY picks the first display number tried (default 57).
set -u
seconds=30 runs=5 configs="main covered minimised monitor info clock" peer_configs="main covered"
while getopts s:r:c:p:f opt; do
    case $opt in
        s) seconds=$OPTARG ;;
        r) runs=$OPTARG ;;
        c) configs=$OPTARG ;;
        p) peer_configs=$OPTARG ;;
        f) export VANTREL_SIM_FROZEN=1 ;;
        *) exit 2 ;;
    esac
done
command -v psensor >/dev/null || peer_configs=""
shift $((OPTIND - 1))
[ $# -ge 1 ] || { echo "usage: $0 [-s SECONDS] [-r RUNS] [-c CONFIGS] RUNTIME_DIR..." >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-idle-XXXXXX")
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"; }
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb

for n in $(seq "${IDLE_CPU_DISPLAY:-57}" 99); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
pids+=("$xpid")
export DISPLAY=":$n"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "no X display :$n" >&2; exit 1; }

# A private copy of each runtime folder with a settings document of its own:
# no update check, no fan curve, the monitor sampling every second without a log.
k=0
for runtime in "$@"; do
    dest="$work/bin$k"
    mkdir -p "$dest"
    cp -r "$runtime/vantrel" "$runtime/lib" "$runtime/ImageRes" "$runtime/font" "$dest/"
    cat >"$dest/Vantrel.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<Vantrel><GeneralDlg><StartMinized>0</StartMinized><UpadteCheck>0</UpadteCheck></GeneralDlg>
<FanDlg><EnableFan>0</EnableFan></FanDlg>
<QuickSightSettingsDlg><Left>0</Left><Right>2</Right></QuickSightSettingsDlg>
<MonitoringDlg><RefreshRate>1000</RefreshRate><blLogToFile>0</blLogToFile></MonitoringDlg></Vantrel>
XML
    k=$((k + 1))
done

window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
wait_window() {
    local i w
    for i in $(seq 100); do
        w=$(window_named "$1")
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.1
    done
    return 1
}
# click WINDOW X Y: a click at a point of the window.
click() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}
# thread_ns PID: "tid nanoseconds-on-cpu" for each live thread of PID (the
# scheduler's own count: clock ticks are a hundredth of a second, too coarse
# for a program that runs a few milliseconds a second).
thread_ns() {
    local f
    for f in /proc/"$1"/task/*/schedstat; do
        [ -r "$f" ] && echo "$(basename "$(dirname "$f")") $(cut -d' ' -f1 "$f")"
    done
}
# ns_between BEFORE AFTER: what the threads in AFTER ran since BEFORE (a thread
# started since counts from nothing; one that ended since drops out, which only
# ever leaves out an idle pool thread's last moments).
ns_between() {
    awk 'NR == FNR { before[$1] = $2; next } { total += $2 - ($1 in before ? before[$1] : 0) } END { print total + 0 }' "$1" "$2"
}

# cover WINDOW: maps a plain window over all of WINDOW (the newest window is on
# top without a window manager).
cover() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xmessage -geometry "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" -title cover "" >/dev/null 2>&1 &
    pids+=("$!")
    cover_pid=$!
    wait_window cover >/dev/null
}

# start_peer: psensor with a home of its own; sets pid and main.
start_peer() {
    mkdir -p "$work/peer-home"
    HOME=$work/peer-home psensor >/dev/null 2>&1 &
    pid=$!
    main=
    for _ in $(seq 100); do
        main=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1)
        [ -n "$main" ] && return 0
        sleep 0.1
    done
    kill "$pid"
    return 1
}

# measure BIN CONFIG: prints "program_percent server_percent"; BIN "peer" for psensor.
measure() {
    local bin=$1 config=$2 pid main box
    cover_pid=
    if [ "$bin" = peer ]; then
        start_peer || { echo "no psensor window" >&2; return 1; }
    else
        "$bin/vantrel" --simulate >/dev/null 2>&1 &
        pid=$!
        main=$(wait_window Vantrel) || { kill "$pid"; echo "no main window" >&2; return 1; }
        # Room for the docked panels on every side.
        xdotool windowmove "$main" 760 150
        sleep 0.5
    fi
    case $config in
        covered) cover "$main" ;;
        minimised)
            # The program's own button: without a window manager nobody carries out
            # xdotool's request, which is sent as well.
            click "$main" 405 17
            xdotool windowminimize "$main" 2>/dev/null
            ;;
        monitor) click "$main" 346 409; wait_window Monitor >/dev/null ;;
        info) click "$main" 346 371; wait_window "GPU Information" >/dev/null ;;
        clock)
            click "$main" 130 409
            box=$(wait_window Warning) && { xdotool windowfocus "$box" 2>/dev/null; sleep 0.2; xdotool key Return; }
            local clock
            clock=$(wait_window Overclocking) && { click "$clock" 30 221; wait_window Voltage >/dev/null; }
            ;;
    esac
    xdotool mousemove 5 5  # off every window
    sleep 3
    local t0 t1 program server
    thread_ns "$pid" >"$work/p0"
    thread_ns "$xpid" >"$work/x0"
    t0=$(date +%s.%N)
    sleep "$seconds"
    thread_ns "$pid" >"$work/p1"
    thread_ns "$xpid" >"$work/x1"
    t1=$(date +%s.%N)
    program=$(ns_between "$work/p0" "$work/p1") server=$(ns_between "$work/x0" "$work/x1")
    kill "$pid"
    wait "$pid" 2>/dev/null
    [ -n "$cover_pid" ] && { kill "$cover_pid"; wait "$cover_pid" 2>/dev/null; }
    awk -v p="$program" -v x="$server" -v t0="$t0" -v t1="$t1" \
        'BEGIN { printf "%.3f %.3f\n", 100 * p / 1e9 / (t1 - t0), 100 * x / 1e9 / (t1 - t0) }'
}

results="$work/results"
for (( r = 1; r <= runs; r++ )); do
    for config in $configs; do
        for (( i = 0; i < k; i++ )); do
            figures=$(measure "$work/bin$i" "$config") || continue
            echo "run $r folder $(( i + 1 )) $config: program/server % of one core: $figures (load $(cut -d' ' -f1 /proc/loadavg))"
            echo "$((i + 1)) $config $figures" >>"$results"
        done
    done
    for config in $peer_configs; do
        figures=$(measure peer "$config") || continue
        echo "run $r psensor $config: program/server % of one core: $figures (load $(cut -d' ' -f1 /proc/loadavg))"
        echo "psensor $config $figures" >>"$results"
    done
done

echo
echo "medians over $runs runs of $seconds s (% of one core); folders: $*"
for i in $(seq 1 "$k") ${peer_configs:+psensor}; do
    cases=$configs
    [ "$i" = psensor ] && cases=$peer_configs
    for config in $cases; do
        for column in 3 4; do
            awk -v i="$i" -v c="$config" -v col="$column" '$1 == i && $2 == c { print $col }' "$results" | sort -g >"$work/col$column"
        done
        printf "folder %-7s %-9s program %s  X server %s\n" "$i" "$config" \
            "$(awk '{ v[NR] = $1 } END { print NR ? (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) : "-" }' "$work/col3")" \
            "$(awk '{ v[NR] = $1 } END { print NR ? (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) : "-" }' "$work/col4")"
    done
done
