#!/usr/bin/env bash
# On a Wayland desktop (a headless Weston): without an X display the program runs
# on native Wayland, its main window appears on the compositor's screen and
# SIGTERM hands the fan back; with XWayland there it takes the X11 platform.
# Skips (77) where Weston is not installed.
source "$(dirname "$0")/e2e_lib.sh" "$1"
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
e2e_runtime
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET QT_QPA_PLATFORM
socket=vantrel-e2e
# A plain background and no panel (its clock would change the screen): any other
# colour on it is a client's window.
cat >"$E2E_DIR/weston.ini" <<INI
[core]
idle-time=0
[shell]
panel-position=none
background-color=0xff203040
INI

start_weston() {  # extra weston options
    rm -f "$XDG_RUNTIME_DIR/$socket"
    weston --config="$E2E_DIR/weston.ini" --backend=headless-backend.so --use-pixman --socket="$socket" \
        --width=1024 --height=768 --debug "$@" >"$E2E_DIR/weston.log" 2>&1 &
    WESTON_PID=$!
    E2E_PIDS+=($WESTON_PID)
    wait_for 15 test -S "$XDG_RUNTIME_DIR/$socket" || fail "weston did not start: $(tail -5 "$E2E_DIR/weston.log")"
}
stop_weston() {
    kill -TERM "$WESTON_PID" 2>/dev/null
    wait "$WESTON_PID" 2>/dev/null
}
# colours_on_screen: how many colours Weston's screenshooter sees on its output.
colours_on_screen() {
    local dir="$E2E_DIR/shot.$BASHPID"
    mkdir -p "$dir"
    (cd "$dir" && WAYLAND_DISPLAY="$socket" weston-screenshooter >/dev/null 2>&1)
    local shot
    shot=$(ls "$dir"/*.png 2>/dev/null | head -1)
    [ -n "$shot" ] && identify -format '%k' "$shot"
    rm -rf "$dir"
}
many_colours() { [ "$(colours_on_screen)" -gt 16 ]; }
last_fan_write() { grep GPU_SetCoolerLevels "$E2E_DIR/trace.txt" 2>/dev/null | tail -1; }
curve_running() { [ "$(count_lines "$E2E_DIR/trace.txt" 'policy0=1 ')" -ge 2 ]; }
stop_and_check_hand_back() {  # what
    kill -0 "$VANTREL_PID" 2>/dev/null || fail "$1: the program ended early: $(cat "$E2E_DIR/stdout.txt")"
    kill -TERM "$VANTREL_PID"
    wait_exit 10
    [ "$VANTREL_RC" -eq 0 ] || fail "$1: exit status $VANTREL_RC"
    last_fan_write | grep -q ' policy0=32 ' || fail "$1: fan not handed back: $(last_fan_write)"
}
write_card 45

# Native Wayland: no X display at all.
start_weston
[ "$(colours_on_screen)" -le 2 ] || fail "the empty desktop is not plain: $(colours_on_screen) colours"
rm -f "$E2E_DIR/trace.txt"
write_settings EnableFan=1 AutoSystem=1 UpdateTime=50 Key=123 Mods=4
WAYLAND_DISPLAY="$socket" start_vantrel
wait_for 15 curve_running || fail "wayland: the fan curve never wrote: $(cat "$E2E_DIR/stdout.txt")"
wait_for 15 many_colours || fail "wayland: no window on the screen"
stop_and_check_hand_back wayland
# The hot key cannot be had here: said once, and nothing else went wrong.
[ "$(count_lines "$E2E_DIR/stdout.txt" 'hot key is not available')" -eq 1 ] || fail "wayland: $(cat "$E2E_DIR/stdout.txt")"
stop_weston

# XWayland beside Wayland: the program prefers X11, where its panels can dock.
if command -v Xwayland >/dev/null; then
    start_weston --xwayland
    wait_for 10 grep -q 'xserver listening on display' "$E2E_DIR/weston.log" || fail "no XWayland"
    export DISPLAY
    DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$E2E_DIR/weston.log" | head -1)
    rm -f "$E2E_DIR/trace.txt"
    WAYLAND_DISPLAY="$socket" start_vantrel
    wait_for 20 has_main_window || fail "xwayland: no X11 main window: $(cat "$E2E_DIR/stdout.txt")"
    wait_for 15 curve_running || fail "xwayland: the fan curve never wrote"
    stop_and_check_hand_back xwayland
    grep -q 'hot key is not available' "$E2E_DIR/stdout.txt" && fail "xwayland: the hot key was refused"
    stop_weston
else
    echo "XWayland is not installed: only native Wayland tested"
fi
echo "wayland: ok"
