#!/usr/bin/env bash
# The cooler-read box in three locales, read through the AT-SPI bus: the
# source text in C, its English translation in en_US, the Chinese in zh_CN.
if [ -z "${VANTREL_E2E_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null && /usr/bin/python3 -c "import pyatspi" 2>/dev/null || exit 77
    VANTREL_E2E_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/e2e_lib.sh" "$1"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset LC_ALL LC_MESSAGES LANGUAGE
probe() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspi_probe.py" "$@"; }
e2e_display
e2e_runtime
write_settings Left=0 Right=0
# The monitor panel samples the fan, so its first cooler read meets the fault.
sed -i "s#</Vantrel>#<MonitoringDlg><RefreshRate>200</RefreshRate><GPUClock Max=\"3000\" Min=\"0\">1</GPUClock>\
<MemoryClock Max=\"12000\" Min=\"0\">0</MemoryClock><GPUTemperature Max=\"100\" Min=\"0\">1</GPUTemperature>\
<FanSpeed Max=\"100\" Min=\"0\">1</FanSpeed><GPUUsage Max=\"100\" Min=\"0\">1</GPUUsage></MonitoringDlg></Vantrel>#" "$E2E_BIN/Vantrel.xml"

# box LANG MONITOR CAPTION TEXT: the box the first failing cooler read raises once
# the button named MONITOR opened the monitor panel.
box() {
    local lang="$1" monitor="$2" caption="$3" text="$4"
    write_card 45
    sed -i 's|</gpu>|<fault interface="GPU_GetCoolerSettings" status="-1" after="4"/></gpu>|' "$E2E_DIR/card.xml"
    LANG="$lang" start_vantrel
    wait_for 15 probe has Vantrel || fail "$lang: the main window is not on the bus"
    probe do Vantrel "$monitor" press || fail "$lang: no press action on $monitor"
    wait_for 15 probe has "$caption" || { xdotool search --onlyvisible --name . getwindowname %@ >&2; cat "$E2E_DIR/stdout.txt" >&2; fail "$lang: no box titled $caption"; }
    local texts
    texts=$(probe texts "$caption")
    echo "LANG=$lang: [$caption] $texts"
    grep -qF -- "$text" <<<"$texts" || fail "$lang: the box says '$texts', not '$text'"
    kill -TERM "$VANTREL_PID"
    wait_exit 10
}
box C Monitor "NVAPI信息" "NVAPI读取GPU温度失败:"
box en_US.UTF-8 Monitor "NVAPI information" "NVAPI could not read the GPU temperature:"
box zh_CN.UTF-8 监控 "NVAPI信息" "NVAPI读取GPU温度失败:"
echo "cooler box locales: ok"
