#!/usr/bin/env bash
# The skinned windows from the keyboard alone: Tab to Overclock, Space, the
# warning answered with Return, Tab to the first slider, arrows and Page Up move
# it by its step. The focus is read back through the AT-SPI bus.
# SHOTS=DIR keeps screenshots of the focus mark there.
if [ -z "${VANTREL_E2E_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null && /usr/bin/python3 -c "import pyatspi" 2>/dev/null || exit 77
    VANTREL_E2E_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/e2e_lib.sh" "$1"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=C
unset LC_ALL LC_MESSAGES
probe() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/atspi_probe.py" "$@"; }
shot() { [ -z "${SHOTS:-}" ] || import -window root "$SHOTS/$1.png"; }
e2e_display
e2e_runtime
write_settings Left=0 Right=2
write_card 45
start_vantrel
wait_for 15 has_main_window || fail "no main window"
wait_for 15 probe has Vantrel || fail "the main window is not on the AT-SPI bus"
main=$(main_window)
xdotool windowfocus --sync "$main"
focus_is() { probe focused "$1" | grep -q "^$2"; }

# Close, Minimise, Settings, (Clock Lock is disabled), GPU Info, Overclock.
for i in 1 2 3 4 5; do xdotool key Tab; done
wait_for 5 focus_is Vantrel "push button 'Overclock'" || fail "Tab reached $(probe focused Vantrel)"
shot main_overclock
xdotool key shift+Tab
wait_for 5 focus_is Vantrel "push button 'GPU Info'" || fail "Shift+Tab reached $(probe focused Vantrel)"
xdotool key Tab
wait_for 5 focus_is Vantrel "push button 'Overclock'" || fail "Tab back reached $(probe focused Vantrel)"
xdotool key space
wait_for 10 has_window Warning || fail "Space on Overclock brought no warning"
xdotool windowfocus --sync "$(window_named Warning)"
xdotool key Return
wait_for 10 has_window Overclocking || fail "no clock panel after the warning"
clock=$(window_named Overclocking)
xdotool windowfocus --sync "$clock"

slider_focused() { probe focused Overclocking | grep -q "^slider"; }
for i in $(seq 1 30); do
    slider_focused && break
    xdotool key Tab
    sleep 0.05
done
slider_focused || fail "Tab never reached a slider"
shot clock_slider
value() { probe focused Overclocking | sed -n 's/.* value=\(-\?[0-9.]*\) .*/\1/p'; }
step=$(probe focused Overclocking | sed -n 's/.* step=\([0-9.]*\).*/\1/p')
before=$(value)
echo "focused: $(probe focused Overclocking)"
xdotool key Right
moved() { [ "$(value)" != "$1" ]; }
wait_for 5 moved "$before" || fail "Right did not move the slider"
after=$(value)
python3 -c "import sys; sys.exit(abs($after - $before - $step) > 1e-6)" ||
    fail "Right moved the slider from $before to $after, not by its step $step"
xdotool key Prior
wait_for 5 moved "$after" || fail "Page Up did not move the slider"
paged=$(value)
echo "slider: $before, Right -> $after, Page Up -> $paged (step $step)"
python3 -c "import sys; sys.exit(not ($paged > $after and $paged - $after <= 10 * $step + 1e-6))" ||
    fail "Page Up moved the slider from $after to $paged"
xdotool key Left
wait_for 5 moved "$paged" || fail "Left did not move the slider"
kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
echo "keyboard: ok"
