#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine.
#   scripts/setup.sh run    install what is missing, build, start Vantrel on the simulated card
#   scripts/setup.sh test   install what is missing, check the formatting, build, run every test
#                           (plain and under ASan+UBSan)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config git
  qt6-base-dev libpugixml-dev libxcb1-dev libxcb-keysyms1-dev libxcb-shm0-dev
  libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core fonts-dejavu-extra fonts-wqy-microhei
  xvfb xauth xdotool trayer imagemagick x11-utils clang-format qt6-wayland weston xwayland
  appstream desktop-file-utils dpkg-dev file debhelper lintian man-db groff-base
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools at-spi2-core python3-pyatspi python3-gi python3-dbus dbus)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {  # preset
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j"$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build default
    shift
    exec build/bin/vantrel --simulate "$@"
    ;;
test)
    install_missing
    scripts/format.sh
    build ci
    # Window and end-to-end tests need a display: one virtual X server for the whole run.
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset ci -j"$(nproc)"
    build asan
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset asan -j"$(nproc)"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
