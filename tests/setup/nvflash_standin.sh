#!/bin/sh
# Stand-in for the flashing tool. Records its arguments one per line in
# $NVFLASH_LOG, sleeps $NVFLASH_SLEEP seconds, then by $NVFLASH_MODE:
# "save" (default) writes "-b NAME"'s image into the current folder, "fail"
# prints a reason and exits 3, "none" writes nothing and exits 0.
: > "${NVFLASH_LOG:-/dev/null}"
for a in "$@"; do printf '%s\n' "$a" >> "${NVFLASH_LOG:-/dev/null}"; done
sleep "${NVFLASH_SLEEP:-0.1}"
case "${NVFLASH_MODE:-save}" in
fail) echo "Checking for matches between display adapter(s) and image(s)..."
      echo "ERROR: No NVIDIA display adapters found"; exit 3 ;;
none) exit 0 ;;
esac
if [ "$1" = "-b" ]; then printf 'BIOS image %s\n' "${NVFLASH_IMAGE:-1}" > "./$2" || exit 1; fi
exit 0
