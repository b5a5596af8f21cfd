#!/usr/bin/env bash
# The Debian package built from the sources by dpkg-buildpackage, checked by
# lintian, inspected, unpacked and run from there as root and as a user.
# Usage: package.sh SOURCE_DIR WORK_DIR
# WORK_DIR is emptied first; a fixed place lets ccache find the last build.
. "$(dirname "$0")/install_lib.sh"
src="$1" work="$2"
rm -rf "$work"
mkdir -p "$work/src"

# Only the sources: no build trees, no version control.
if git -C "$src" rev-parse --git-dir >/dev/null 2>&1; then
    git -C "$src" ls-files -z -co --exclude-standard |
        while IFS= read -r -d '' f; do [ -e "$src/$f" ] && printf '%s\0' "$f"; done |
        tar -C "$src" --null -T - -cf - | tar -C "$work/src" -xf -
else
    tar -C "$src" --exclude=./.git --exclude='./build*' --exclude='./obj-*' -cf - . | tar -C "$work/src" -xf -
fi

# debhelper gives the build a home of its own, where ccache would find neither
# its configuration nor its cache.
if [[ "${CMAKE_CXX_COMPILER_LAUNCHER:-}" == *ccache* ]] && command -v ccache >/dev/null; then
    export CCACHE_DIR="${CCACHE_DIR:-$(ccache -k cache_dir)}" CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(ccache -k base_dir)}"
fi
(cd "$work/src" && DEB_BUILD_OPTIONS="parallel=${VANTREL_PACKAGE_JOBS:-2} nocheck" dpkg-buildpackage -us -uc -b) \
    >"$work/build.log" 2>&1 || fail "dpkg-buildpackage: $(tail -n 40 "$work/build.log")"
deb="$(ls "$work"/vantrel_*_*.deb)"

echo "== lintian"
lintian --fail-on error,warning --display-info --pedantic "$deb" | tee "$work/lintian.log" ||
    fail "lintian reports errors or warnings"
echo "== dpkg-deb -I"
dpkg-deb -I "$deb"
echo "== dpkg-deb -c"
files="$(dpkg-deb -c "$deb")"
echo "$files"

depends="$(dpkg-deb -f "$deb" Depends)"
for want in libqt6widgets6 libqt6network6 libpugixml1v5 libxcb1 libxcb-shm0 libxcb-keysyms1 fonts-dejavu-extra \
            fonts-wqy-microhei systemd-sysusers; do
    [[ "$depends" == *"$want"* ]] || fail "Depends lacks $want: $depends"
done
[[ "$depends" != *-dev* ]] || fail "Depends names a development package: $depends"
recommends="$(dpkg-deb -f "$deb" Recommends)"
[[ "$recommends" == *libnvidia-ml1* && "$recommends" == *qt6-wayland* ]] || fail "Recommends: $recommends"
for f in ./usr/bin/vantrel ./usr/lib/vantrel/vantrel ./usr/lib/vantrel/installed ./usr/lib/vantrel/Vantrel.xml \
         ./usr/lib/vantrel/lib/libnvapi-nvml.so ./usr/lib/vantrel/font/NEWSGOTL.ttf ./usr/sbin/vantreld \
         ./lib/systemd/system/vantreld.socket ./lib/systemd/system/vantreld.service \
         ./lib/systemd/system/vantreld-kept.path \
         ./usr/lib/sysusers.d/vantrel.conf ./usr/share/metainfo/org.vantrel.vantrel.metainfo.xml \
         ./usr/share/man/man1/vantrel.1.gz ./usr/share/man/man8/vantreld.8.gz \
         ./usr/share/doc/vantrel/copyright ./usr/share/doc/vantrel/changelog.gz; do
    grep -q " $f\( ->.*\)\?$" <<<"$files" || fail "$f not in the package"
done
! grep -q "test_\|bench_" <<<"$files" || fail "test or benchmark programs in the package"
! grep -q "/\.drawn$" <<<"$files" || fail "a build stamp in the package"

# The socket is enabled and started at install; the service is never started
# by itself, only restarted on upgrade when it runs.
postinst="$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./postinst)"
grep -q "deb-systemd-helper enable 'vantreld.socket'" <<<"$postinst" || fail "the socket is not enabled"
grep -q "deb-systemd-invoke \$_dh_action 'vantreld.socket'" <<<"$postinst" || fail "the socket is not started"
# At boot the service starts only while it keeps settings, through the path unit.
grep -q "deb-systemd-helper enable 'vantreld-kept.path'" <<<"$postinst" || fail "the kept-settings path unit is not enabled"
! grep "deb-systemd-invoke" <<<"$postinst" | grep "vantreld.service" | grep -qv "try-restart" ||
    fail "postinst starts the service"
grep -q "systemd-sysusers.*vantrel.conf" <<<"$postinst" || fail "postinst does not create the group"

stage="$INSTALL_TMP/stage"
dpkg -x "$deb" "$stage"
chmod 755 "$stage"
runtime="$stage/usr/lib/vantrel"
grep -q '^ExecStart=/usr/sbin/vantreld\( --state-dir /run/vantrel\)\?$' "$stage/lib/systemd/system/vantreld.service" || fail "ExecStart= is not /usr/sbin/vantreld"
# The skin font is fonts-dejavu-extra's file; the stage gets it as an installed system has it.
font=/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf
[ "$(readlink -m "$runtime/font/NEWSGOTL.ttf")" = "$stage$font" ] || fail "the skin font is no link to $font"
mkdir -p "$stage${font%/*}"
ln -s "$font" "$stage$font"
for page in usr/share/man/man1/vantrel.1.gz usr/share/man/man8/vantreld.8.gz; do
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$stage/$page" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "$page: $warnings"
done

# A root run that changes a setting leaves every file of the package as it was:
# the change is in root's own folder.
listing() { (cd "$runtime" && find . -printf '%p %s %m %T@\n' | sort && sha256sum Vantrel.xml); }
shipped="$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/lib/vantrel/Vantrel.xml | sha256sum | cut -d' ' -f1)"
before="$(listing)"
echo "== the runtime folder before the root runs"
echo "$before"
config="$ROOT_HOME/.config/vantrel"
run_window "$config/Vantrel.xml" "${AS_ROOT[@]}" "$stage/usr/bin/vantrel"
[ -f "$config/Vantrel.xml" ] || fail "root has no settings document of its own: $(ls -A "$runtime")"
sed -i 's|<UpdateTime>[0-9]*</UpdateTime>|<UpdateTime>1700</UpdateTime>|' "$config/Vantrel.xml"
saved="$(stat -c %Y.%i "$config/Vantrel.xml")"
run_window "$config/Vantrel.xml" "${AS_ROOT[@]}" "$stage/usr/bin/vantrel"
[ "$(stat -c %Y.%i "$config/Vantrel.xml")" != "$saved" ] || fail "the program did not save root's document"
grep -q '<UpdateTime>1700</UpdateTime>' "$config/Vantrel.xml" || fail "root's change was lost"
after="$(listing)"
echo "== after"
echo "$after"
echo "== root's own folder"
ls -l "$config"
grep -o '<UpdateTime>[0-9]*</UpdateTime>' "$config/Vantrel.xml"
[ "$after" = "$before" ] || fail "the root run changed the package's files: $(diff <(echo "$before") <(echo "$after"))"
[ "$(sha256sum <"$runtime/Vantrel.xml" | cut -d' ' -f1)" = "$shipped" ] || fail "the shipped Vantrel.xml changed"

# And as a user.
check_status "$stage/usr/bin/vantrel"
run_window "$USER_HOME/.config/vantrel/Vantrel.xml" "${AS_USER[@]}" "$stage/usr/bin/vantrel"
[ "$(stat -c %U "$USER_HOME/.config/vantrel/Vantrel.xml")" = nobody ] || fail "the user has no document of its own"
[ "$(listing)" = "$before" ] || fail "the user's run changed the package's files"
echo "package ok"
