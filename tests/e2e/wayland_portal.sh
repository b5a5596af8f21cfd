#!/usr/bin/env bash
# On native Wayland the hot key and the screenshot go through the desktop portal
# (a fake one on a private session bus): the shortcut is bound with the configured
# combination, its activation saves the portal's picture as the bitmap, and a
# refusal, an all-black picture or no answer keep the earlier bitmap and are said.
# Skips (77) without Weston, dbus-daemon or python3-dbus.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_runtime
source "$(dirname "$0")/weston_lib.sh"
/usr/bin/python3 -c "import dbus, gi.repository.GLib" 2>/dev/null || { echo "SKIP: no python3-dbus"; exit 77; }
private_session_bus
log="$E2E_DIR/portal.log"
start_portal() {  # extra arguments
    /usr/bin/python3 "$(dirname "$0")/fake_portal.py" "$log" "$@" &
    PORTAL_PID=$!
    E2E_PIDS+=($PORTAL_PID)
    wait_for 10 grep -q ready "$log" || fail "the fake portal did not start"
}
start_portal
fake() {  # method args...
    dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop \
        "org.vantrel.test.FakePortal.$@" >/dev/null || fail "fake portal: $*"
}
convert -size 64x48 xc:'#336699' "$E2E_DIR/picture.png"
convert -size 64x48 xc:black "$E2E_DIR/black.png"
shots="$E2E_DIR/shots"
bmp="$shots/Vantrel.bmp"
mkdir -p "$shots"
said() { grep -c -- "$1" "$E2E_DIR/stdout.txt"; }
press_and_expect_refusal() {  # what text
    cp "$bmp" "$E2E_DIR/old.bmp"
    local before
    before=$(said "no screenshot saved")
    fake Activate
    wait_for "${3:-10}" bash -c "[ \$(grep -c 'no screenshot saved.*$2' '$E2E_DIR/stdout.txt') -gt 0 ]" ||
        fail "$1: not said: $(cat "$E2E_DIR/stdout.txt")"
    [ "$(said "no screenshot saved")" -eq $((before + 1)) ] || fail "$1: said more than once"
    cmp -s "$bmp" "$E2E_DIR/old.bmp" || fail "$1: the earlier bitmap was changed"
}

start_weston
write_card 45
write_settings Folder="$shots" Key=123 Mods=4
WAYLAND_DISPLAY="$socket" start_vantrel
wait_for 15 grep -q 'bind screenshot ALT+F12' "$log" || fail "no shortcut bound: $(cat "$log" "$E2E_DIR/stdout.txt")"

fake SetScreenshot string:answer "string:$E2E_DIR/picture.png"
fake Activate
wait_for 10 test -s "$bmp" || fail "no bitmap after the shortcut: $(cat "$E2E_DIR/stdout.txt")"
grep -q 'screenshot answer interactive=False' "$log" || fail "the screenshot asked for a dialog"
# The whole picture: the portal does not say where the window is.
[ "$(identify -format '%w %h' "$bmp")" = "64 48" ] || fail "bitmap $(identify -format '%w %h' "$bmp")"
px=$(convert "$bmp" -format "%[hex:p{5,5}]" info:)  # RGB, or RGBA from a 32-bit bitmap
[ "${px:0:6}" = 336699 ] || fail "not the portal's picture: $px"

fake SetScreenshot string:refuse string:
press_and_expect_refusal refusal 'refused'
fake SetScreenshot string:answer "string:$E2E_DIR/black.png"
press_and_expect_refusal black 'all-black'
fake SetScreenshot string:silent string:
press_and_expect_refusal "no answer" 'gave no picture' 15
grep -q 'request closed' "$log" || fail "the unanswered request was not closed"

kill -0 "$VANTREL_PID" 2>/dev/null || fail "the program ended early: $(cat "$E2E_DIR/stdout.txt")"
kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit status $VANTREL_RC"
grep -q 'hot key is not available' "$E2E_DIR/stdout.txt" && fail "the hot key was said unavailable"
wait_for 5 grep -q 'session closed' "$log" || fail "the shortcut session was not closed at the end"

# A desktop that turns the shortcut down: said once, and the program runs on.
kill -TERM "$PORTAL_PID"
wait "$PORTAL_PID" 2>/dev/null
rm -f "$log"
start_portal refuse-shortcuts
WAYLAND_DISPLAY="$socket" start_vantrel
wait_for 15 grep -q 'bind refused' "$log" || fail "refusal: no binding asked for"
wait_for 5 grep -q 'hot key is not available' "$E2E_DIR/stdout.txt" || fail "refusal not said: $(cat "$E2E_DIR/stdout.txt")"
kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "refusal: exit status $VANTREL_RC"
[ "$(count_lines "$E2E_DIR/stdout.txt" 'hot key is not available')" -eq 1 ] || fail "refusal: $(cat "$E2E_DIR/stdout.txt")"
stop_weston

# Under XWayland the X grab of the screen is black; the portal's picture of the
# desktop (here at twice the X screen's pixels) is cut to the window's X place.
kill -TERM "$PORTAL_PID"
wait "$PORTAL_PID" 2>/dev/null
rm -f "$log" "$bmp"
start_portal
start_weston --xwayland
xdisplay=$(xwayland_display)
convert -size 2048x1536 xc:'#996633' "$E2E_DIR/desktop.png"
fake SetScreenshot string:answer "string:$E2E_DIR/desktop.png"
DISPLAY="$xdisplay" WAYLAND_DISPLAY="$socket" start_vantrel
sleep 2
DISPLAY="$xdisplay" xdotool key alt+F12
wait_for 15 test -s "$bmp" || fail "XWayland: no bitmap: $(cat "$E2E_DIR/stdout.txt" "$log")"
grep -q 'screenshot answer' "$log" || fail "XWayland: the portal was not asked"
[ "$(identify -format '%w %h' "$bmp")" = "950 880" ] || fail "XWayland: bitmap $(identify -format '%w %h' "$bmp")"
px=$(convert "$bmp" -format "%[hex:p{5,5}]" info:)
[ "${px:0:6}" = 996633 ] || fail "XWayland: not the portal's picture: $px"
kill -TERM "$VANTREL_PID"
wait_exit 10
stop_weston
echo "wayland_portal: ok"
