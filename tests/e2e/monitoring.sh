#!/usr/bin/env bash
# The Monitoring page on a frozen simulated card, with the monitor panel open
# and logging off: from the keyboard, the period set to 200 ms, logging turned on
# to a new file, a fifth and sixth quantity ticked and the fourth unticked, so
# that only graph 3 changes quantity, and that quantity's maximum changed; OK.
# The log starts at five rows a second, graph 3 starts a new history while the
# others keep theirs, and the document holds the texts as typed. Leaves the
# panel's screenshot as monitoring_commit.png in E2E_KEEP when that is set.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
export XDG_CONFIG_HOME="$E2E_DIR/config"
log="$E2E_DIR/history log.txt"
write_settings
sensors=""
for e in GPUClock:1 MemoryClock:1 GPUTemperature:1 GPUUsage:1 MemoryUsage:0 GPUVoltage:0 FanSpeed:0 \
         FanTachometer:0 PowerTarget:0 ShaderClock:0; do
    sensors+="<${e%:*} Max=\"3000\" Min=\"0\">${e#*:}</${e%:*}>"
done
sed -i "s#</Vantrel>#<MonitoringDlg><RefreshRate>1000</RefreshRate><blLogToFile>0</blLogToFile>\
<LogToFilePath>Vantrel.txt</LogToFilePath>$sensors</MonitoringDlg></Vantrel>#" "$E2E_BIN/Vantrel.xml"
write_card 45
start_vantrel
wait_for 15 has_main_window || fail "no main window"
win=$(main_window)
xdotool mousemove --window "$win" 346 409 click 1  # Monitor
panel_window() { xdotool search --onlyvisible --name '^Monitor$' | head -1; }
wait_for 10 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^Monitor$')\" ]" || fail "no monitor panel"
sleep 6  # some history in every graph

xdotool mousemove --window "$win" 375 17 click 1  # settings
wait_for 10 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^Seting Properties$')\" ]" ||
    fail "no settings window"
# Monitoring tab; period; log box; path; list: tick rows 4 and 5, untick row 3,
# select row 4; its maximum; OK.
xdotool key Right Right Right Tab ctrl+a type 200
xdotool key Tab space Tab ctrl+a
xdotool type "$log"
xdotool key Tab Tab Down Down Down Down space Down space Up Up space Down Tab ctrl+a
xdotool type 9000
xdotool key Tab Tab space
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Seting Properties$' | grep -q ." || fail "OK did not close the window"

doc="$E2E_BIN/Vantrel.xml"
grep -q '<RefreshRate>200</RefreshRate>' "$doc" || fail "RefreshRate: $(grep -o '<RefreshRate>.*</RefreshRate>' "$doc")"
grep -q '<blLogToFile>1</blLogToFile>' "$doc" || fail "blLogToFile not stored"
grep -qF "<LogToFilePath>$log</LogToFilePath>" "$doc" || fail "path: $(grep -o '<LogToFilePath>.*</LogToFilePath>' "$doc")"
grep -q '<MemoryUsage Max="9000" Min="0">1</MemoryUsage>' "$doc" || fail "MemoryUsage: $(grep -o '<MemoryUsage.*</MemoryUsage>' "$doc")"
active=$(grep -o '">1</[A-Za-z]*>' "$doc" | grep -cv 'blLogToFile')
[ "$active" = 5 ] || fail "$active quantities stored as active: $(grep -o '<MonitoringDlg>.*' "$doc")"

wait_for 5 test -s "$log" || fail "no log file"
rows() { iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | tr -d '\r' | tail -n +3 | grep -c .; }
[ "$(iconv -f UTF-16LE -t UTF-8 "$log" | sed -n 2p | cut -c21-29)" = "GPU clock" ] || fail "no header"
n=$(rows)
sleep 2
n=$(( $(rows) - n ))
[ "$n" -ge 7 ] && [ "$n" -le 13 ] || fail "$n rows in 2 s at 200 ms"

# The history: the grey sample line's columns in each graph.
panel=$(panel_window)
eval "$(xdotool getwindowgeometry --shell "$panel")"
shot="$E2E_DIR/monitoring_commit.png"
import -window root "$shot"
[ -n "${E2E_KEEP:-}" ] && cp "$shot" "$E2E_KEEP/monitoring_commit.png"
columns() {
    convert "$shot" -crop "248x82+$((X + 55))+$((Y + $1))" +repage txt:- |
        awk -F'[,:]' '/#BCBCBC/ { seen[$1] = 1 } END { print length(seen) }'
}
c0=$(columns 73) c1=$(columns 213) c2=$(columns 363) c3=$(columns 503)
[ "$c3" -ge 1 ] || fail "graph 3 shows nothing"
for c in "$c0" "$c1" "$c2"; do
    [ "$c" -ge $((c3 + 4)) ] || fail "history columns $c0 $c1 $c2 $c3: graph 3 kept its history or another lost it"
done

xdotool mousemove --window "$(main_window)" 435 17 click 1  # the main window's close button
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
echo "monitoring: ok"
