#!/usr/bin/env bash
# scripts/hardware-check.sh on the simulated card, and on the NVML bridge over the
# fake NVML with two GPUs beside a stand-in nvidia-smi that answers the fake's values.
#   hardware_check_test.sh SCRIPT VANTREL FAKE_NVML_DIR
set -u
script=$1 vantrel=$2 fake=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

out=$("$script" --simulate --vantrel "$vantrel") || fail "--simulate: $out"
grep -q "^3 passed, 0 failed, 10 skipped$" <<<"$out" || fail "--simulate summary: $out"

# The stand-in gives GPU 1 a temperature 5 °C off, which must fail, and GPU 0 the fake's own values.
cat >"$dir/nvidia-smi" <<'SMI'
#!/bin/sh
case "$*" in
    *--version*) echo "NVML version        : 12.999" ;;
    *driver_version*) echo "999.99" ;;
    *) echo "0, 55, 1500, 9501, 1500, 37, 10240, 2048, 40, 125.00, 250.00, 250.00"
       echo "1, 61, 1500, 9501, 1500, 37, 10240, 2048, 40, 125.00, 250.00, 250.00" ;;
esac
SMI
chmod +x "$dir/nvidia-smi"
out=$(PATH="$dir:$PATH" LD_LIBRARY_PATH="$fake" FAKE_NVML_COUNT=2 FAKE_NVML_CALLS="$dir/calls" \
      VANTREL_SERVICE_SOCKET= "$script" --vantrel "$vantrel")
[ $? -eq 1 ] || fail "a field out of tolerance must fail the check: $out"
grep -q "NVML version: 12.999" <<<"$out" || fail "NVML version: $out"
grep -q "PASS  temperature_c = 55, nvidia-smi temperature.gpu = 55" <<<"$out" || fail "GPU 0 temperature: $out"
grep -q "FAIL  temperature_c = 56, nvidia-smi temperature.gpu = 61" <<<"$out" || fail "GPU 1 temperature: $out"
grep -q "PASS  power_draw_percent = 50" <<<"$out" || fail "power: $out"
grep -q "GPU 1 power_target" <<<"$out" || fail "both GPUs probed: $out"
grep -Eq "^[0-9]+ passed, 1 failed, [0-9]+ skipped$" <<<"$out" || fail "summary: $out"
# Nothing but the hand-back of fans the driver already has reached the card.
if [ -s "$dir/calls" ] && grep -v "^SetDefaultFanSpeed " "$dir/calls"; then
    fail "the check wrote to the card: $(cat "$dir/calls")"
fi
echo "hardware check: ok"
