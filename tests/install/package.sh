#!/usr/bin/env bash
# The .deb built from the build tree, inspected, unpacked and run as a user.
# Usage: package.sh BUILD_DIR
. "$(dirname "$0")/install_lib.sh"
(cd "$INSTALL_TMP" && cpack --config "$1/CPackConfig.cmake" -G DEB -B "$INSTALL_TMP/out" >cpack.log 2>&1) ||
    fail "cpack: $(cat "$INSTALL_TMP/cpack.log")"
deb="$(ls "$INSTALL_TMP"/out/vantrel_*.deb)"
info="$(dpkg-deb -I "$deb")"
files="$(dpkg-deb -c "$deb")"
depends="$(dpkg-deb -f "$deb" Depends)"
for want in libqt6widgets6 libqt6network6 libpugixml1v5 libxcb1 fonts-dejavu-core; do
    [[ "$depends" == *"$want"* ]] || fail "Depends lacks $want: $depends"
done
[[ "$depends" != *-dev* ]] || fail "Depends names a development package: $depends"
[[ "$(dpkg-deb -f "$deb" Recommends)" == *libnvidia-ml1* ]] || fail "no Recommends of the NVML library"
for f in ./usr/bin/vantrel ./usr/lib/vantrel/vantrel ./usr/lib/vantrel/lib/libnvapi-nvml.so ./usr/sbin/vantreld \
         ./usr/lib/systemd/system/vantreld.socket ./usr/lib/systemd/system/vantreld.service \
         ./usr/lib/sysusers.d/vantrel.conf ./usr/share/metainfo/org.vantrel.vantrel.metainfo.xml; do
    grep -q " $f\( ->.*\)\?$" <<<"$files" || fail "$f not in the package"
done
! grep -q "test_\|bench_" <<<"$files" || fail "test or benchmark programs in the package"
! grep -q "/\.drawn$" <<<"$files" || fail "a build stamp in the package"
for script in postinst prerm postrm; do
    grep -q " $script" <<<"$info" || fail "no $script"
done

stage="$INSTALL_TMP/stage"
dpkg -x "$deb" "$stage"
chmod 755 "$stage"
grep -q '^ExecStart=/usr/sbin/vantreld$' "$stage/usr/lib/systemd/system/vantreld.service" || fail "ExecStart= is not /usr/sbin/vantreld"
check_status "$stage/usr/bin/vantrel"
echo "package ok"
