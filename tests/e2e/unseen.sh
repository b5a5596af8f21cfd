#!/usr/bin/env bash
# Covered by another window, then minimised, the main window and the monitor
# panel draw nothing, but the fan curve still drives the card and the monitor
# still logs; a second start brings the window back and it closes as always.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
log="$E2E_DIR/monitor log.txt"
restore='GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0'
write_settings EnableFan=1 UpdateTime=50
sed -i "s#</Vantrel>#<MonitoringDlg><RefreshRate>100</RefreshRate><blLogToFile>1</blLogToFile>\
<LogToFilePath>$log</LogToFilePath><GPUClock Max=\"3000\" Min=\"0\">1</GPUClock></MonitoringDlg></Vantrel>#" \
    "$E2E_BIN/Vantrel.xml"
write_card 45
start_vantrel
wait_for 15 has_main_window || fail "no main window"
win=$(main_window)
xdotool windowmove "$win" 100 100
wait_for 5 bash -c "xdotool getwindowgeometry '$win' | grep -q 'Position: 100,100'" || fail "window not moved"
xdotool mousemove 446 509 click 1  # Monitor
wait_for 10 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^Monitor$')\" ]" || fail "no monitor panel"
xdotool mousemove 5 5

curve_writes() { grep -c 'level0=37 policy0=1' "$E2E_DIR/trace.txt" 2>/dev/null || echo 0; }
log_rows() { iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | wc -l; }
# goes_on WHAT: the fan curve's writes and the log's rows both grow by three.
goes_on() {
    local writes rows
    writes=$(curve_writes) rows=$(log_rows)
    wait_for 20 bash -c "[ \$(grep -c 'level0=37 policy0=1' '$E2E_DIR/trace.txt') -ge $((writes + 3)) ]" ||
        fail "$1: the fan curve stopped"
    wait_for 20 bash -c "[ \$(iconv -f UTF-16LE -t UTF-8 '$log' | wc -l) -ge $((rows + 3)) ]" ||
        fail "$1: the monitor's log stopped"
}
goes_on "shown"

# Over the whole screen: nothing of either window can be seen.
xmessage -geometry 1280x1024+0+0 -title cover "" >/dev/null 2>&1 &
cover=$!
E2E_PIDS+=($cover)
wait_for 10 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^cover$')\" ]" || fail "no cover"
goes_on "covered"
kill "$cover"
wait_for 10 bash -c "[ -z \"\$(xdotool search --onlyvisible --name '^cover$')\" ]" || fail "cover stayed"

xdotool mousemove 505 117 click 1  # minimise
xdotool mousemove 5 5
goes_on "minimised"

# A second start shows the first one's window again.
timeout 10 "$E2E_BIN/vantrel" --simulate "$E2E_DIR/card.xml" >/dev/null 2>&1
wait_for 10 has_main_window || fail "not shown again"
goes_on "shown again"
import -window root "$E2E_DIR/shown.png" 2>/dev/null
[ -n "${E2E_KEEP:-}" ] && cp "$E2E_DIR/shown.png" "$E2E_KEEP/unseen.png"

xdotool mousemove 535 117 click 1  # close
wait_exit 10
[ "$(tail -1 "$E2E_DIR/trace.txt")" = "$restore" ] || fail "fan not handed back"
echo "unseen: ok"
