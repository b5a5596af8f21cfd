#!/usr/bin/env bash
# The skinned windows as a screen reader finds them on the AT-SPI bus: the main
# window's buttons by name and its gauges with values; the Monitor button's
# action opens the monitor panel; the clock panel's sliders tell value and range.
# Prints the main window's tree.
if [ -z "${VANTREL_E2E_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null && /usr/bin/python3 -c "import pyatspi" 2>/dev/null || exit 77
    VANTREL_E2E_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/e2e_lib.sh" "$1"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=C
unset LC_ALL LC_MESSAGES
probe() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspi_probe.py" "$@"; }
e2e_display
e2e_runtime
write_settings Left=0 Right=2
write_card 45
start_vantrel
wait_for 15 has_main_window || fail "no main window"
wait_for 15 probe has Vantrel || fail "the main window is not on the AT-SPI bus"
# The gauges show readings once the eye has ticked.
sampled() { grep -q "progress bar 'GPU Clock'.* value=[1-9]" <<<"$(probe tree Vantrel)"; }
wait_for 10 sampled || true
tree=$(probe tree Vantrel)
echo "$tree"
for name in Close Minimise Settings "GPU Info" Overclock Monitor; do
    grep -q "^  push button '$name'" <<<"$tree" || fail "no button named $name"
done
grep -q "^  check box 'Clock Lock'.*\[disabled\]" <<<"$tree" || fail "no disabled Clock Lock check button"
grep -q "^  progress bar 'GPU Clock' ([0-9]* MHz) value=[1-9][0-9]* range=0\.\.4000" <<<"$tree" ||
    fail "the left gauge has no reading"
grep -q "^  progress bar 'Fan Speed' ([0-9]* %) value=[0-9]* range=0\.\.100" <<<"$tree" ||
    fail "the right gauge has no reading"

probe do Vantrel Monitor press || fail "no press action on Monitor"
wait_for 10 has_window Monitor || fail "the Monitor action opened no panel"
wait_for 10 probe has Monitor || fail "the monitor panel is not on the bus"
grep -q "chart '" <<<"$(probe tree Monitor)" || fail "the monitor panel shows no graph"

probe do Vantrel Overclock press || fail "no press action on Overclock"
wait_for 10 probe has Warning || fail "no warning box"
probe do Warning Yes press || fail "the warning has no Yes button"
wait_for 10 probe has Overclocking || fail "no clock panel"
clock=$(probe tree Overclocking)
echo "$clock" | grep "slider"
for title in "GPU Clock Offset,MHz" "Memory Clock Offset,MHz" "Fan Speed,%" "Power Target,%" "GPU Temp Target,C"; do
    grep -q "^  slider '$title' value=-\?[0-9.]* range=-\?[0-9.]*\.\.-\?[0-9.]* step=" <<<"$clock" ||
        fail "slider $title tells no value and range"
done
kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
echo "accessibility tree: ok"
