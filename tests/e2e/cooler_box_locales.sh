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

# box LANG CAPTION TEXT: the box the first failing cooler read raises.
box() {
    local lang="$1" caption="$2" text="$3"
    write_card 45
    sed -i 's|</gpu>|<fault interface="GPU_GetCoolerSettings" status="-1" after="2"/></gpu>|' "$E2E_DIR/card.xml"
    LANG="$lang" start_vantrel
    wait_for 15 probe has Vantrel || fail "$lang: the main window is not on the bus"
    probe do Vantrel Monitor press || fail "$lang: no press action on Monitor"
    wait_for 15 probe has "$caption" || fail "$lang: no box titled $caption"
    local texts
    texts=$(probe texts "$caption")
    echo "LANG=$lang: [$caption] $texts"
    grep -qF -- "$text" <<<"$texts" || fail "$lang: the box says '$texts', not '$text'"
    kill -TERM "$VANTREL_PID"
    wait_exit 10
}
box C "NVAPI信息" "NVAPI读取GPU温度失败:"
box en_US.UTF-8 "NVAPI information" "NVAPI could not read the GPU temperature:"
box zh_CN.UTF-8 "NVAPI信息" "NVAPI读取GPU温度失败:"
echo "cooler box locales: ok"
