#!/usr/bin/env bash
# A cooler read failing while the monitor panel samples the fan: its box comes
# up, and while it stays unanswered the panel goes on sampling and logging.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
log="$E2E_DIR/monitor.txt"
write_settings Left=0 Right=0
sed -i "s#</Vantrel>#<MonitoringDlg><RefreshRate>200</RefreshRate><blLogToFile>1</blLogToFile>\
<LogToFilePath>$log</LogToFilePath><GPUClock Max=\"3000\" Min=\"0\">1</GPUClock><MemoryClock Max=\"12000\" Min=\"0\">0</MemoryClock>\
<GPUTemperature Max=\"100\" Min=\"0\">1</GPUTemperature><FanSpeed Max=\"100\" Min=\"0\">1</FanSpeed>\
<GPUUsage Max=\"100\" Min=\"0\">1</GPUUsage></MonitoringDlg></Vantrel>#" "$E2E_BIN/Vantrel.xml"
write_card 45
sed -i 's|</gpu>|<fault interface="GPU_GetCoolerSettings" status="-1" after="4"/></gpu>|' "$E2E_DIR/card.xml"
start_vantrel
wait_for 15 has_main_window || fail "no main window"
eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
xdotool mousemove $((X + 346)) $((Y + 409)) click 1  # Monitor
box() { xdotool search --onlyvisible --name 'NVAPI' | head -1; }
box_up() { [ -n "$(box)" ]; }
wait_for 15 box_up || fail "no message box"
rows() { iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | grep -c .; }
before=$(rows)
sleep 2
after=$(rows)
box_up || fail "the box went by itself"
echo "log rows while the box was open: $before -> $after in 2 s"
[ "$after" -ge $((before + 5)) ] || fail "the panel stopped sampling while the box was open"
kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
echo "monitor box: ok"
