# Helpers for the end-to-end tests: a private copy of the runtime folder, an X
# display, bounded waits, and cleanup of everything a test started.
# Usage: source e2e_lib.sh RUNTIME_DIR
set -u
E2E_RUNTIME="$1"
E2E_DIR="$(mktemp -d "${TMPDIR:-/tmp}/vantrel-e2e-XXXXXX")"
E2E_PIDS=()
# One running program per user and display: each test is a user of its own to it.
export XDG_RUNTIME_DIR="$E2E_DIR"
# The source texts the tests look for, whatever the caller's locale; a test of a
# locale names its own when it starts the program.
export LANG=C.UTF-8
unset LC_ALL LC_MESSAGES LANGUAGE

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do kill -KILL "$pid" 2>/dev/null; done
    rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# X clients of the tests: a loaded X server now and then refuses a connection
# (a few in a hundred with both cores busy), and a key press or click that never
# reached it would fail a test for nothing. Such a refusal is tried again.
x11_retry() {
    local try err="$E2E_DIR/x11_retry.$BASHPID"
    for try in 1 2 3 4 5; do
        "$@" 2>"$err" && { rm -f "$err"; return 0; }
        local rc=$?
        if ! grep -qi -E "open display|unable to open X server" "$err"; then
            cat "$err" >&2
            rm -f "$err"
            return $rc
        fi
        sleep 0.1
    done
    cat "$err" >&2
    rm -f "$err"
    return 1
}
xdotool() { x11_retry command xdotool "$@"; }
import() { x11_retry command import "$@"; }
export -f x11_retry xdotool import
export E2E_DIR

# wait_for SECONDS COMMAND...: polls every 0.1 s until COMMAND succeeds.
wait_for() {
    local limit=$(( $1 * 10 )); shift
    local i
    for (( i = 0; i < limit; i++ )); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# A display of our own when none is given (CI runs the tests under xvfb-run).
e2e_display() {
    if [ -z "${DISPLAY:-}" ]; then
        local n
        for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        E2E_PIDS+=($!)
        disown $!
        export DISPLAY=":$n"
        wait_for 10 xdpyinfo || fail "no X display"
    fi
}

# The program, its libraries, pictures and font in a folder of the test's own,
# so its settings document is the test's alone.
e2e_runtime() {
    local dest="$E2E_DIR/bin"
    mkdir -p "$dest"
    cp "$E2E_RUNTIME/vantrel" "$dest/"
    cp -r "$E2E_RUNTIME/lib" "$dest/"
    [ -d "$E2E_RUNTIME/ImageRes" ] && cp -r "$E2E_RUNTIME/ImageRes" "$dest/"
    [ -d "$E2E_RUNTIME/font" ] && cp -r "$E2E_RUNTIME/font" "$dest/"
    [ -d "$E2E_RUNTIME/translations" ] && cp -r "$E2E_RUNTIME/translations" "$dest/"
    E2E_BIN="$dest"
}

# write_settings KEY=VALUE...: a settings document with these values; the rest
# read as the shipped defaults.
write_settings() {
    local StartMinized=0 EnableFan=0 AutoSystem=0 UpdateTime=1000 Left=0 Right=2 Folder="$E2E_DIR" Key=0 Mods=0
    local FanMap='OneX="30" OneY="30" TwoX="50" TwoY="40" ThreeX="60" ThreeY="55" FourX="70" FourY="60" FiveX="75" FiveY="70" SixX="80" SixY="80" SeverX="85" SeverY="90" EightX="90" EightY="100" blLine="0"'
    local kv
    for kv in "$@"; do local "$kv"; done
    cat >"$E2E_BIN/Vantrel.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<Vantrel>
	<Version>1</Version>
	<GeneralDlg><StartMinized>$StartMinized</StartMinized><UpadteCheck>0</UpadteCheck></GeneralDlg>
	<FanDlg><EnableFan>$EnableFan</EnableFan><AutoSystem>$AutoSystem</AutoSystem><UpdateTime>$UpdateTime</UpdateTime><FanMap $FanMap/></FanDlg>
	<QuickSightSettingsDlg><Left>$Left</Left><Right>$Right</Right></QuickSightSettingsDlg>
	<UIDlg><SaveToFilePath>$Folder</SaveToFilePath><HotKey VirtualKeyCode="$Key" Modifiers="$Mods"/></UIDlg>
</Vantrel>
XML
}

# A frozen simulated card at a fixed temperature.
write_card() {
    cat >"$E2E_DIR/card.xml" <<XML
<card frozen="1"><gpu><temperature initial="$1" fixed="$1"/>
<coolers><cooler level="40" defaultMin="30" defaultPolicy="32" policy="32"/></coolers></gpu></card>
XML
}

# start_vantrel: runs the program on the card with a trace; sets VANTREL_PID.
# A loaded X server now and then refuses a connection; the program then ends
# at once saying so, and is started again (up to three times).
start_vantrel() {
    local try i
    for try in 1 2 3; do
        VANTREL_SIM_TRACE="$E2E_DIR/trace.txt" VANTREL_SIM_FROZEN=1 \
            "$E2E_BIN/vantrel" --simulate "$E2E_DIR/card.xml" >"$E2E_DIR/stdout.txt" 2>&1 &
        VANTREL_PID=$!
        E2E_PIDS+=($VANTREL_PID)
        # Until it has a window of its own, or for 2 s.
        for (( i = 0; i < 20; i++ )); do
            kill -0 "$VANTREL_PID" 2>/dev/null || break
            command xdotool search --pid "$VANTREL_PID" >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill -0 "$VANTREL_PID" 2>/dev/null && return 0
        grep -q -e 'could not connect to display' -e 'no X display can be reached' "$E2E_DIR/stdout.txt" || return 0
        wait "$VANTREL_PID" 2>/dev/null
        echo "the program could not reach the X server; starting it again" >&2
    done
}

# wait_exit SECONDS: waits for the program to end; sets VANTREL_RC.
wait_exit() {
    wait_for "$1" bash -c "! kill -0 $VANTREL_PID" || fail "the program did not end"
    wait "$VANTREL_PID"
    VANTREL_RC=$?
}

main_window() { xdotool search --onlyvisible --name '^Vantrel$' | head -1; }
has_main_window() { [ -n "$(main_window)" ]; }
count_lines() { grep -c -- "$2" "$1" 2>/dev/null || true; }

# Windows by their exact title, their place, and clicks at a point of them.
window_named() { xdotool search --onlyvisible --name "^$1\$" | head -1; }
has_window() { [ -n "$(window_named "$1")" ]; }
gone() { [ -z "$(window_named "$1")" ]; }
position() { xdotool getwindowgeometry "$1" | sed -n 's/ *Position: \([-0-9]*,[-0-9]*\).*/\1/p'; }
click() {
    local x y
    IFS=, read -r x y <<<"$(position "$1")"
    xdotool mousemove $((x + $2)) $((y + $3)) click 1
}

# private_x_server: an Xvfb of the test's own, to be killed under the program;
# sets PRIVATE_DISPLAY and PRIVATE_X_PID.
private_x_server() {
    local n
    for n in $(seq 60 89); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    PRIVATE_X_PID=$!
    E2E_PIDS+=($PRIVATE_X_PID)
    PRIVATE_DISPLAY=":$n"
    DISPLAY="$PRIVATE_DISPLAY" wait_for 10 xdpyinfo || fail "no private X display"
}
