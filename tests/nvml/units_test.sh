#!/usr/bin/env bash
# systemd's own check of vantreld's units, with ExecStart pointed at the built service, and
# the service's exposure by systemd's security check (at most 3.5).
# Usage: units_test.sh SERVICE_FILE SOCKET_FILE VANTRELD
set -eu
command -v systemd-analyze >/dev/null || { echo "no systemd-analyze: skipped"; exit 77; }
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
sed "s|^ExecStart=[^ ]*|ExecStart=$3|" "$1" >"$dir/vantreld.service"
cp "$2" "$dir/vantreld.socket"
cp "$(dirname "$2")/vantreld-kept.path" "$dir/"
cd "$dir"
out="$(systemd-analyze verify --man=no vantreld.socket vantreld.service vantreld-kept.path 2>&1)"
[ -z "$out" ] || { echo "$out"; exit 1; }
grep -qx 'SocketGroup=vantrel' vantreld.socket && grep -qx 'SocketMode=0660' vantreld.socket
security="$(systemd-analyze security --offline=yes --no-pager vantreld.service 2>&1)"
exposure="$(sed -n 's/.*Overall exposure level for vantreld.service: \([0-9.]*\).*/\1/p' <<<"$security")"
echo "exposure: ${exposure:-unknown}; unmet:"
grep '^✗' <<<"$security" || true
awk -v e="$exposure" 'BEGIN { exit !(e != "" && e + 0 <= 3.5) }' || { echo "exposure above 3.5"; exit 1; }
echo "units: ok"
