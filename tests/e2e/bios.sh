#!/usr/bin/env bash
# A BIOS save from the settings window with a stand-in flashing tool that takes
# a while: the fan curve keeps writing and the main window keeps animating
# while the tool runs; the image lands where it was saved. BIOS_TOOL_SECONDS
# lengthens the tool's run (the program's CPU time over it is printed).
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
seconds="${BIOS_TOOL_SECONDS:-3}"
cp "$(dirname "$0")/../setup/nvflash_standin.sh" "$E2E_BIN/nvflash"
export NVFLASH_LOG="$E2E_DIR/nvflash.txt" NVFLASH_SLEEP="$seconds" NVFLASH_MODE=save
export XDG_CONFIG_HOME="$E2E_DIR/config"
write_settings EnableFan=1 UpdateTime=100
write_card 45
mkdir -p "$E2E_DIR/saved here"
target="$E2E_DIR/saved here/my card.rom"

window_named() { xdotool search --onlyvisible --name "$1" | head -1 | grep .; }
levels() { count_lines "$E2E_DIR/trace.txt" 'policy0=1'; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$VANTREL_PID/stat"; }
eye() { # the eye's square of the main window, from the screen
    eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
    import -window root -crop "174x148+$((X + 149))+$((Y + 132))" "$1"
}

start_vantrel
wait_for 15 has_main_window || fail "no main window"
wait_for 10 bash -c "[ \$(grep -c 'policy0=1' '$E2E_DIR/trace.txt' 2>/dev/null) -ge 2 ]" || fail "the fan curve does not run"

# Settings button, then the third tab, "BIOS"; the window moved off the eye.
xdotool mousemove --window "$(main_window)" 375 17 click 1
wait_for 10 window_named '^Seting Properties$' || fail "no settings window"
settings=$(window_named '^Seting Properties$')
xdotool windowmove "$settings" 700 500
sleep 0.5
xdotool key Right Right Tab space
wait_for 10 window_named '^Save As$' || fail "no save dialog"
sleep 0.5
xdotool key ctrl+a && xdotool type --delay 20 "$target" && xdotool key Return

wait_for 5 test -s "$NVFLASH_LOG" || fail "the tool was not started"
before=$(levels) ticks=$(cpu_ticks) started=$(date +%s.%N)
[ -n "${BIOS_SHOTS:-}" ] && import -window root "$BIOS_SHOTS/bios_running.png"
eye "$E2E_DIR/eye1.png"
sleep 0.3 && eye "$E2E_DIR/eye2.png"
wait_for $((seconds + 10)) window_named '^BIOS$' || fail "no report after the tool ended"
elapsed=$(echo "$(date +%s.%N) - $started" | bc)
echo "CPU while the tool ran: $(( $(cpu_ticks) - ticks )) ticks of $(getconf CLK_TCK)/s over ${elapsed}s"
# Ten ticks a second; half of them is enough on a busy machine.
[ "$(levels)" -ge $((before + ${seconds%.*} * 5)) ] || fail "the fan curve stalled: $before -> $(levels)"
compare -metric AE "$E2E_DIR/eye1.png" "$E2E_DIR/eye2.png" null: 2>"$E2E_DIR/ae.txt"
[ "$(cut -d' ' -f1 "$E2E_DIR/ae.txt")" != 0 ] || fail "the main window did not repaint while the tool ran"

[ "$(cat "$NVFLASH_LOG")" = $'-b\nmy card.rom' ] || fail "arguments: $(cat "$NVFLASH_LOG")"
[ -s "$target" ] && [ -s "$E2E_BIN/my card.rom" ] || fail "image not copied / not kept"
[ -n "${BIOS_SHOTS:-}" ] && import -window root "$BIOS_SHOTS/bios_saved.png"
xdotool key Return
kill -TERM "$VANTREL_PID"
wait_exit 10
echo "bios: ok"
