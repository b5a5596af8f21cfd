#!/usr/bin/env bash
# cmake --install into a root-owned prefix, then the installed program run as a user.
# Usage: install.sh BUILD_DIR
. "$(dirname "$0")/install_lib.sh"
prefix="$INSTALL_TMP/usr"
cmake --install "$1" --prefix "$prefix" >"$INSTALL_TMP/install.log" || fail "cmake --install: $(cat "$INSTALL_TMP/install.log")"

runtime="$prefix/lib/vantrel"
[ "$(readlink "$prefix/bin/vantrel")" = ../lib/vantrel/vantrel ] || fail "bin/vantrel is no link to the runtime folder"
for f in vantrel Vantrel.xml installed ImageRes/main.png font/NEWSGOTL.ttf lib/libnvapi-sim.so lib/libnvapi-nvml.so; do
    [ -f "$runtime/$f" ] || fail "$f missing from the runtime folder"
done
[ -z "$(find "$prefix" -name 'test_*' -o -name 'bench_*')" ] || fail "test or benchmark programs installed"
for f in share/icons/hicolor/scalable/apps/vantrel.svg share/icons/hicolor/64x64/apps/vantrel.png \
         share/doc/vantrel/copyright share/man/man1/vantrel.1 share/man/man8/vantreld.8; do
    [ -f "$prefix/$f" ] || fail "$f missing"
done
desktop-file-validate "$prefix/share/applications/vantrel.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.vantrel.vantrel.metainfo.xml" \
    >"$INSTALL_TMP/appstream.log" 2>&1 || fail "AppStream data: $(cat "$INSTALL_TMP/appstream.log")"

check_status "$prefix/bin/vantrel"

# The window program: seeds the user's settings from the shipped document, and
# writes only there.
shipped="$(sha256sum <"$runtime/Vantrel.xml")"
config="$USER_HOME/.config/vantrel"
run_window "$config/Vantrel.xml" "${AS_USER[@]}" "$prefix/bin/vantrel"
[ -f "$config/Vantrel.xml" ] || fail "no settings document under ~/.config/vantrel"
[ "$(stat -c %U "$config/Vantrel.xml")" = nobody ] || fail "the user's document is not the user's"
grep -q '<UpdateTime>' "$config/Vantrel.xml" || fail "the user's document was not seeded: $(cat "$config/Vantrel.xml")"

# A change to the user's document survives a restart, which saves the document again.
sed -i 's|<UpdateTime>[0-9]*</UpdateTime>|<UpdateTime>1700</UpdateTime>|' "$config/Vantrel.xml"
before="$(stat -c %Y.%i "$config/Vantrel.xml")"
run_window "$config/Vantrel.xml" "${AS_USER[@]}" "$prefix/bin/vantrel"
[ "$(stat -c %Y.%i "$config/Vantrel.xml")" != "$before" ] || fail "the program did not save the user's document"
grep -q '<UpdateTime>1700</UpdateTime>' "$config/Vantrel.xml" || fail "the change was lost: $(cat "$config/Vantrel.xml")"
[ "$(sha256sum <"$runtime/Vantrel.xml")" = "$shipped" ] || fail "the shipped document changed"
echo "install ok"
