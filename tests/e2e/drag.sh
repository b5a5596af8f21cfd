#!/usr/bin/env bash
# The main window follows a drag by its background, also on an X server without
# a window manager; a drag that starts on a control leaves it where it is.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
write_settings
write_card 45
start_vantrel
wait_for 15 has_main_window || fail "no main window"
win=$(main_window)

position() { xdotool getwindowgeometry "$win" | sed -n 's/ *Position: \([-0-9]*,[-0-9]*\).*/\1/p'; }
at() { [ "$(position)" = "$1" ]; }

# drag X Y DX DY: presses at window point X,Y, moves by DX,DY in four steps, releases.
drag() {
    local x0 y0
    IFS=, read -r x0 y0 <<<"$(position)"
    xdotool mousemove $((x0 + $1)) $((y0 + $2))
    sleep 0.2
    xdotool mousedown 1
    local i
    for i in 1 2 3 4; do
        xdotool mousemove_relative -- $(($3 / 4)) $(($4 / 4))
        sleep 0.05
    done
    xdotool mouseup 1
}

start=$(position)
IFS=, read -r x y <<<"$start"

# Under the title, clear of the buttons and gauges.
drag 120 60 60 40
wait_for 5 at "$((x + 60)),$((y + 40))" || fail "background drag: window at $(position), from $start"

# On the GPU Info button.
drag 346 371 60 40
sleep 0.5
at "$((x + 60)),$((y + 40))" || fail "a drag from a button moved the window to $(position)"

# Between the gauges and the buttons, back again.
drag 240 342 -60 -40
wait_for 5 at "$start" || fail "second background drag: window at $(position), expected $start"

kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
echo "drag: ok"
