#!/usr/bin/env bash
# vantrel --snapshot DIR draws the main window into DIR/main_window.png without a
# display, leaves the card and the settings document alone, and fails loudly when
# DIR cannot be made.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_runtime
# The fan curve on, so a run that took the fan or ran the close path would show in
# the trace or in the document.
write_settings EnableFan=1 AutoSystem=0 UpdateTime=10
write_card 45
cp "$E2E_BIN/Vantrel.xml" "$E2E_DIR/settings-before.xml"

# snapshot ARGS...: the program from E2E_DIR without a display; sets VANTREL_RC.
snapshot() {
    (cd "$E2E_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
        VANTREL_SIM_TRACE="$E2E_DIR/trace.txt" VANTREL_SIM_FROZEN=1 \
        timeout 60 "$E2E_BIN/vantrel" --simulate card.xml "$@" >"$E2E_DIR/stdout.txt" 2>"$E2E_DIR/stderr.txt")
    VANTREL_RC=$?
}

snapshot --snapshot shots/new  # relative to the start folder, made with its parent
[ "$VANTREL_RC" -eq 0 ] || fail "exit code $VANTREL_RC: $(cat "$E2E_DIR/stderr.txt")"
png="$E2E_DIR/shots/new/main_window.png"
[ -s "$png" ] || fail "no $png"
[ "$(identify -format '%m %w %h' "$png")" = "PNG 475 440" ] || fail "picture $(identify -format '%m %w %h' "$png")"
panel="$E2E_DIR/shots/new/gpu_info_panel.png"
[ "$(identify -format '%w %h' "$panel" 2>/dev/null)" = "475 238" ] || fail "information panel picture: $(ls "$E2E_DIR/shots/new")"
monitor="$E2E_DIR/shots/new/monitor_panel.png"
[ "$(identify -format '%w %h' "$monitor" 2>/dev/null)" = "379 672" ] || fail "monitor panel picture: $(ls "$E2E_DIR/shots/new")"
opaque=$(convert "$png" -alpha extract -format '%[fx:maxima]' info:)
[ "$opaque" != "0" ] || fail "the picture is fully transparent"
[ -s "$E2E_DIR/trace.txt" ] && fail "the snapshot wrote to the card: $(cat "$E2E_DIR/trace.txt")"
cmp -s "$E2E_BIN/Vantrel.xml" "$E2E_DIR/settings-before.xml" || fail "the settings document changed"

# A folder that cannot be made: a message and a failing exit code.
snapshot --snapshot card.xml/shots
[ "$VANTREL_RC" -ne 0 ] || fail "a folder under a file counted as success"
grep -q 'card.xml/shots' "$E2E_DIR/stderr.txt" || fail "no reason on stderr: $(cat "$E2E_DIR/stderr.txt")"
echo "snapshot: ok"
