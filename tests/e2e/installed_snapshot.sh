#!/usr/bin/env bash
# The same pictures from an installed runtime folder (marked installed, so the
# working folder is the per-user one) as from the build tree: every read-only
# file is found beside the program, never by a name relative to the working folder.
source "$(dirname "$0")/e2e_lib.sh" "$1"
e2e_runtime
write_settings
write_card 45
snap() {  # snap BIN OUT: the snapshots of the program in BIN, started from a folder of its own
    local start="$E2E_DIR/start-$(basename "$2")"
    mkdir -p "$start"
    (cd "$start" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$E2E_DIR/home" XDG_CONFIG_HOME="$E2E_DIR/home/.config" \
        VANTREL_SIM_FROZEN=1 timeout 60 "$1/vantrel" --simulate "$E2E_DIR/card.xml" --snapshot "$2" \
        >"$start/stdout.txt" 2>&1) || fail "snapshot from $1: $(tail -3 "$start/stdout.txt")"
}
snap "$E2E_BIN" "$E2E_DIR/tree"
installed="$E2E_DIR/installed/lib/vantrel"
mkdir -p "$(dirname "$installed")"
cp -r "$E2E_BIN" "$installed"
touch "$installed/installed"
mkdir -p "$E2E_DIR/home/.config/vantrel"
cp "$E2E_BIN/Vantrel.xml" "$E2E_DIR/home/.config/vantrel/"
snap "$installed" "$E2E_DIR/inst"
[ -s "$E2E_DIR/home/.config/vantrel/Vantrel.xml" ] || fail "the installed run did not work in the per-user folder"
differing=0
for png in "$E2E_DIR/tree"/*.png; do
    name=$(basename "$png")
    [ -s "$E2E_DIR/inst/$name" ] || fail "the installed run drew no $name"
    pixels=$(compare -metric AE "$png" "$E2E_DIR/inst/$name" null: 2>&1) || true
    [ "$pixels" = 0 ] || { echo "$name: $pixels pixels differ"; differing=$((differing + 1)); }
done
[ "$differing" -eq 0 ] || fail "$differing pictures differ between the build tree and an installed folder"
echo "installed snapshot: $(ls "$E2E_DIR/tree" | wc -l) pictures identical"
