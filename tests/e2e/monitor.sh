#!/usr/bin/env bash
# The monitor panel on a frozen simulated card: opened from the main window, it
# logs UTF-16LE rows holding the card's values, shows the cursor on all four
# graphs when the pointer is over one, and closes with its button. Leaves the
# last screenshot as monitor.png in E2E_KEEP when that is set.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
log="$E2E_DIR/monitor log.txt"
write_settings
sed -i "s#</Vantrel>#<MonitoringDlg><RefreshRate>200</RefreshRate><blLogToFile>1</blLogToFile>\
<LogToFilePath>$log</LogToFilePath><GPUClock Max=\"3000\" Min=\"0\">1</GPUClock>\
<MemoryClock Max=\"12000\" Min=\"0\">1</MemoryClock><GPUTemperature Max=\"100\" Min=\"0\">1</GPUTemperature>\
<GPUUsage Max=\"100\" Min=\"0\">1</GPUUsage></MonitoringDlg></Vantrel>#" "$E2E_BIN/Vantrel.xml"
write_card 45
start_vantrel
wait_for 15 has_main_window || fail "no main window"
win=$(main_window)
eval "$(xdotool getwindowgeometry --shell "$win")"
mx=$X my=$Y

xdotool mousemove $((mx + 346)) $((my + 409)) click 1  # Monitor
panel_window() { xdotool search --onlyvisible --name '^Monitor$' | head -1; }
wait_for 10 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^Monitor$')\" ]" || fail "no monitor panel"
panel=$(panel_window)
eval "$(xdotool getwindowgeometry --shell "$panel")"
[ "$X,$Y" = "$((mx + 475 - 20)),$my" ] || fail "panel at $X,$Y, main window at $mx,$my"
px=$X py=$Y

rows() { iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | tr -d '\r' | tail -n +3 | grep -c .; }
wait_for 15 bash -c "[ \$(iconv -f UTF-16LE -t UTF-8 '$log' 2>/dev/null | wc -l) -ge 6 ]" || fail "no log rows"
text=$(iconv -f UTF-16LE -t UTF-8 "$log") || fail "log is not UTF-16LE"
[ "$(head -c 2 "$log" | od -An -tx1 | tr -d ' ')" != "fffe" ] || fail "byte-order mark"
line1=$(sed -n 1p <<<"$text") line2=$(sed -n 2p <<<"$text") row=$(sed -n 3p <<<"$text" | tr -d '\r')
[[ "$line1" == *"Vantrel(Tessaril) -- Hardware monitoring logFile"$'\r' ]] || fail "title line: $line1"
[ "${line2:20:9}" = "GPU clock" ] || fail "header line: $line2"
[[ "${row:0:20}" =~ ^[0-9]+-[0-9]+-[0-9]+\ [0-9]+:[0-9]+:[0-9]+\ +$ ]] || fail "date column: $row"
[[ "${row:20:17}" =~ ^[1-9][0-9]*\ *$ ]] || fail "GPU clock column: '${row:20:17}'"
[[ "${row:37:20}" =~ ^[1-9][0-9]*\ *$ ]] || fail "memory clock column: '${row:37:20}'"
[ "${row:57:23}" = "45$(printf '%21s' '')" ] || fail "temperature column: '${row:57:23}'"
[ -z "${row:80:17}" ] || [[ "${row:80}" =~ ^[0-9]+$ ]] || fail "usage column: '${row:80}'"

# The pointer over graph 1: the dash-dot cursor on all four graphs, at that x.
cx=300  # three columns left of the right edge: a sample is there after three steps
xdotool mousemove $((px + cx)) $((py + 250))
sleep 0.3
xdotool mousemove $((px + cx)) $((py + 251))
sleep 0.6
shot="$E2E_DIR/monitor.png"
import -window root "$shot"
[ -n "${E2E_KEEP:-}" ] && cp "$shot" "$E2E_KEEP/monitor.png"
for top in 73 213 363 503; do
    grey=0
    for dy in $(seq 0 2 30); do
        p=$(convert "$shot" -format "%[pixel:p{$((px + cx)),$((py + top + dy))}]" info:)
        [[ "$p" == "srgb(188,188,188)" || "$p" == "gray(188)" ]] && grey=$((grey + 1))
    done
    [ "$grey" -ge 3 ] || fail "no cursor on the graph at $top ($grey grey pixels)"
done

xdotool mousemove $((px + 336)) $((py + 15)) click 1  # the panel's close button
wait_for 10 bash -c "[ -z \"\$(xdotool search --onlyvisible --name '^Monitor$')\" ]" || fail "panel still open"
n=$(rows)
sleep 0.6
[ "$(rows)" = "$n" ] || fail "rows still written after the panel closed"

xdotool mousemove $((mx + 435)) $((my + 17)) click 1  # the main window's close button
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
echo "monitor: ok"
