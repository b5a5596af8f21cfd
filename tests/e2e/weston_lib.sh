# Helpers for the tests under a headless Weston of their own (after e2e_lib.sh):
# a plain desktop, its start and stop, and the colours on its screen.
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
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
# XWayland's display, once Weston started with --xwayland says where it listens.
xwayland_display() {
    wait_for 10 grep -q 'xserver listening on display' "$E2E_DIR/weston.log" || fail "no XWayland"
    sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$E2E_DIR/weston.log" | head -1
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

# private_session_bus: a D-Bus session bus of the test's own (exported for the
# program); sets SESSION_BUS_PID.
private_session_bus() {
    command -v dbus-daemon >/dev/null || { echo "SKIP: dbus-daemon is not installed"; exit 77; }
    local out
    out=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || fail "no session bus"
    export DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
    SESSION_BUS_PID=$(sed -n 2p <<<"$out")
    E2E_PIDS+=($SESSION_BUS_PID)
}
