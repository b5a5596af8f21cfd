#!/usr/bin/env bash
# The settings window in three locales, read through the AT-SPI bus: the source
# texts in C, the English translation in en_US, the Chinese one in zh_CN; and the
# box of a start without a driver, shown before the working directory is chosen.
if [ -z "${VANTREL_E2E_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null && /usr/bin/python3 -c "import pyatspi" 2>/dev/null || exit 77
    VANTREL_E2E_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/e2e_lib.sh" "$1"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
probe() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspi_probe.py" "$@"; }
e2e_display
e2e_runtime
write_settings Left=0 Right=0
write_card 45

# page LANG SETTINGS TITLE ELEMENT...: the settings window, opened through the
# main window's button named SETTINGS, is titled TITLE and shows each ELEMENT
# (role and name as the tree prints them).
page() {
    local lang="$1" settings="$2" title="$3"
    shift 3
    LANG="$lang" start_vantrel
    wait_for 15 probe has Vantrel || fail "$lang: the main window is not on the bus"
    probe do Vantrel "$settings" press || fail "$lang: no press action on $settings"
    wait_for 15 probe has "$title" || fail "$lang: no settings window titled $title"
    local tree element
    tree=$(probe tree "$title")
    for element in "$@"; do
        grep -qF -- "$element" <<<"$tree" || { echo "$tree" >&2; fail "$lang: no $element"; }
    done
    echo "LANG=$lang: $title, $*"
    kill -TERM "$VANTREL_PID"
    wait_exit 10
}
page C Settings "Seting Properties" "check box 'Start with Windows'" "page tab 'Quick Sight Settings'"
page en_US.UTF-8 Settings Settings "check box 'Start at login'" "push button 'Check now'" "page tab 'Monitoring'" \
    "push button 'Cancel'"
page zh_CN.UTF-8 设置 设置 "check box '登录时启动'" "push button '立即检查'" "page tab '监控'" "push button '取消'"

# start_box LANG TEXT: the box of a start whose driver library is missing says TEXT.
start_box() {
    LANG="$1" "$E2E_BIN/vantrel" --driver "$E2E_DIR/missing.so" >"$E2E_DIR/stdout.txt" 2>&1 &
    VANTREL_PID=$!
    E2E_PIDS+=($VANTREL_PID)
    wait_for 15 probe has Error || { cat "$E2E_DIR/stdout.txt" >&2; fail "$1: no start-up box"; }
    local texts
    texts=$(probe texts Error)
    echo "LANG=$1: [Error] $texts"
    grep -qF -- "$2" <<<"$texts" || fail "$1: the start-up box says '$texts', not '$2'"
    kill -TERM "$VANTREL_PID"
    wait_exit 10
}
start_box C "The program can not start, your graphics card does not support"
start_box en_US.UTF-8 "The program cannot start: your graphics card is not supported"
echo "settings locales: ok"
