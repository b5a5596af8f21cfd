#!/usr/bin/env bash
# systemd's own check of vantreld's units, with ExecStart pointed at the built service.
# Usage: units_test.sh SERVICE_FILE SOCKET_FILE VANTRELD
set -eu
command -v systemd-analyze >/dev/null || { echo "no systemd-analyze: skipped"; exit 77; }
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
sed "s|^ExecStart=.*|ExecStart=$3|" "$1" >"$dir/vantreld.service"
cp "$2" "$dir/vantreld.socket"
cd "$dir"
out="$(systemd-analyze verify --man=no vantreld.socket vantreld.service 2>&1)"
[ -z "$out" ] || { echo "$out"; exit 1; }
grep -qx 'SocketGroup=vantrel' vantreld.socket && grep -qx 'SocketMode=0660' vantreld.socket
echo "units: ok"
