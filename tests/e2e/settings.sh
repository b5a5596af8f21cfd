#!/usr/bin/env bash
# The settings window opened with the main window's button: both quick-sight
# choices and the screenshot hot key changed from the keyboard, OK. The document,
# the gauges and the hot key follow; the fan curve keeps writing while the window
# is open; a quit signal while it is open still ends the program cleanly.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
export XDG_CONFIG_HOME="$E2E_DIR/config"
shots="$E2E_DIR/shots"
mkdir -p "$shots"
write_settings Folder="$shots" Key=123 Mods=4 Left=0 Right=2 EnableFan=1 UpdateTime=100
write_card 45

settings_window() { xdotool search --onlyvisible --name '^Seting Properties$' | head -1; }
has_settings_window() { [ -n "$(settings_window)" ]; }
levels() { count_lines "$E2E_DIR/trace.txt" 'policy0=1'; }
# The scale labels of both gauges.
gauge_labels() { import -window "$(main_window)" -crop 30x260+74+69 "$1-left.png"; import -window "$(main_window)" -crop 30x260+372+69 "$1-right.png"; }
# grab KEYSYM MODMASK: whether another X client can take the combination.
grab() {
    python3 - "$1" "$2" <<'PY'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XStringToKeysym.restype = ctypes.c_ulong
x.XStringToKeysym.argtypes = [ctypes.c_char_p]
x.XKeysymToKeycode.restype = ctypes.c_ubyte
x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XGrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_int]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
failed = []
handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: failed.append(1) or 0)
x.XSetErrorHandler(handler)
d = x.XOpenDisplay(None)
code = x.XKeysymToKeycode(d, x.XStringToKeysym(sys.argv[1].encode()))
x.XGrabKey(d, code, int(sys.argv[2]), x.XDefaultRootWindow(d), 1, 1, 1)
x.XSync(d, 0)
sys.exit(1 if failed else 0)
PY
}

start_vantrel
wait_for 15 has_main_window || fail "no main window"
win=$(main_window)
wait_for 10 bash -c "[ \$(grep -c 'policy0=1' '$E2E_DIR/trace.txt' 2>/dev/null) -ge 2 ]" || fail "the fan curve does not run"

# The settings button (3002) at (360, 2)-(390, 32).
xdotool mousemove --window "$win" 375 17 click 1
wait_for 10 has_settings_window || fail "no settings window"
before=$(levels)
sleep 1.5
[ "$(levels)" -gt $((before + 5)) ] || fail "the fan curve stalled while the settings window is open"

# General: "Start with Windows". Quick Sight Settings: left "GPU Voltage" (5),
# right "Memory clock" (1).
xdotool key Tab space shift+Tab
xdotool key Right Right Right Right Tab Down Down Down Down Down space Tab Down space
# UI: the hot-key control, then Ctrl+Alt+S.
xdotool key shift+Tab shift+Tab Right Tab Tab Tab ctrl+alt+s
sleep 0.3
xdotool key Return
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Seting Properties$' | grep -q ." || fail "OK did not close the window"

doc="$E2E_BIN/Vantrel.xml"
grep -q '<Left>5</Left>' "$doc" || fail "Left: $(grep -o '<Left>.*</Left>' "$doc")"
grep -q '<Right>1</Right>' "$doc" || fail "Right: $(grep -o '<Right>.*</Right>' "$doc")"
grep -q 'VirtualKeyCode="83" Modifiers="6"' "$doc" || fail "hot key: $(grep -o '<HotKey.*>' "$doc")"
grep -q '<EnableFan>1</EnableFan>' "$doc" || fail "EnableFan was changed by the commit"
entry="$XDG_CONFIG_HOME/autostart/vantrel.desktop"
grep -qx "Exec=$E2E_BIN/vantrel" "$entry" || fail "autostart entry: $(cat "$entry" 2>&1)"
grep -qx "TryExec=$E2E_BIN/vantrel" "$entry" || fail "autostart entry without TryExec=: $(cat "$entry")"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry" || fail "invalid autostart entry"; fi

# The new hot key takes the screenshot, the old one no longer does, and the
# old one is free for other programs while the new one is held.
bmp="$shots/Vantrel.bmp"
xdotool key alt+F12
sleep 0.5
[ -e "$bmp" ] && fail "the old hot key still takes screenshots"
xdotool key ctrl+alt+s
wait_for 10 test -s "$bmp" || fail "no screenshot with the new hot key"
grab F12 8 || fail "the old combination is still grabbed"
grab s 12 && fail "the new combination is not held"

# The gauges show the new ranges at once: the same labels as a fresh start
# with the saved document.
sleep 0.5
gauge_labels "$E2E_DIR/after"
kill -TERM "$VANTREL_PID"
wait_exit 10
start_vantrel
wait_for 15 has_main_window || fail "no main window after restart"
sleep 0.5
gauge_labels "$E2E_DIR/fresh"
for side in left right; do
    [ "$(compare -metric AE "$E2E_DIR/after-$side.png" "$E2E_DIR/fresh-$side.png" null: 2>&1)" = 0 ] ||
        fail "the $side gauge's scale differs from a fresh start"
done

# A quit signal while the window is open: it ends, commits nothing, hands the fan back.
cp "$doc" "$E2E_DIR/doc-before.xml"
xdotool mousemove --window "$(main_window)" 375 17 click 1
wait_for 10 has_settings_window || fail "no settings window the second time"
xdotool key Right Right Right Right Tab Up
kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC with the settings window open"
grep -q '<Left>5</Left>' "$doc" || fail "the open settings window was committed"
tail -1 "$E2E_DIR/trace.txt" | grep -q 'policy0=32' || fail "fan not handed back: $(tail -1 "$E2E_DIR/trace.txt")"
echo "settings: ok"
