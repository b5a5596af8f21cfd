# Helpers for the install tests: a root-owned temporary folder, and the program
# run as an unprivileged user, or as root, each with a home of its own.
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1; then
    echo "needs root and the user nobody: skipped"
    exit 77
fi
INSTALL_TMP="$(mktemp -d "${TMPDIR:-/tmp}/vantrel-install-XXXXXX")"
trap 'rm -rf "$INSTALL_TMP"' EXIT
chmod 755 "$INSTALL_TMP"
USER_HOME="$INSTALL_TMP/home"
mkdir -m 700 "$USER_HOME"
chown nobody "$USER_HOME"

# "${AS_USER[@]}" COMMAND...: runs as nobody with a clean environment and USER_HOME.
# setpriv execs the command itself (runuser stays in between), so $! is the program.
AS_USER=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME="$USER_HOME" PATH=/usr/bin:/bin
         QT_QPA_PLATFORM=offscreen VANTREL_SIM_FROZEN=1)

# "${AS_ROOT[@]}" COMMAND...: root with a home of its own, not the machine's.
ROOT_HOME="$INSTALL_TMP/root-home"
mkdir -m 700 "$ROOT_HOME" "$INSTALL_TMP/root-run"
AS_ROOT=(env -i HOME="$ROOT_HOME" XDG_CONFIG_HOME="$ROOT_HOME/.config" XDG_RUNTIME_DIR="$INSTALL_TMP/root-run"
         PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen VANTREL_SIM_FROZEN=1)

# run_window DOCUMENT COMMAND...: starts the window program on the simulated card,
# waits for it to seed DOCUMENT and settle, then ends it with SIGTERM: its close
# path saves the document.
run_window() {
    local document=$1 i pid
    shift
    "$@" --simulate >"$INSTALL_TMP/window.log" 2>&1 &
    pid=$!
    # The document is seeded just before the window is built; its signal handlers follow.
    for i in $(seq 150); do [ -f "$document" ] && break; sleep 0.1; done
    sleep 3
    kill -TERM "$pid"
    wait "$pid" || fail "the window program ended with $?: $(cat "$INSTALL_TMP/window.log")"
}

# check_status PROGRAM: the headless report as a user, valid JSON on stdout.
check_status() {
    "${AS_USER[@]}" "$1" --simulate --status --format json >"$INSTALL_TMP/status.json" || fail "--status as a user"
    python3 -m json.tool "$INSTALL_TMP/status.json" >/dev/null || fail "--status JSON: $(cat "$INSTALL_TMP/status.json")"
}
