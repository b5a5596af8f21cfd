#!/usr/bin/env bash
# A second start hands over to the running program and leaves at once with 0;
# the status report still runs beside it.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_display
e2e_runtime
write_settings
write_card 45
start_vantrel
wait_for 15 has_main_window || fail "no main window"
first=$(main_window)

timeout 20 "$E2E_BIN/vantrel" --simulate "$E2E_DIR/card.xml" >"$E2E_DIR/second.txt" 2>&1
rc=$?
[ "$rc" -eq 0 ] || fail "the second start ended with $rc: $(cat "$E2E_DIR/second.txt")"
[ "$(main_window)" = "$first" ] || fail "a second window appeared"
[ "$(xdotool search --onlyvisible --name '^Vantrel$' | wc -l)" -eq 1 ] || fail "more than one main window"
kill -0 "$VANTREL_PID" || fail "the first program ended"

VANTREL_SIM_FROZEN=1 timeout 20 "$E2E_BIN/vantrel" --simulate "$E2E_DIR/card.xml" --status >"$E2E_DIR/status.txt" ||
    fail "--status beside a running program"
grep -q "== Vantrel status ==" "$E2E_DIR/status.txt" || fail "no status report"

kill -TERM "$VANTREL_PID"
wait_exit 10
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC"
