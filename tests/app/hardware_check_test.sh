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
grep -q "^4 passed, 0 failed, 14 skipped$" <<<"$out" || fail "--simulate summary: $out"

# The stand-in gives GPU 1 a temperature 5 °C off and another PCI bus, which must fail, and GPU 0
# the fake's own values.
cat >"$dir/nvidia-smi" <<'SMI'
#!/bin/sh
case "$*" in
    *--version*) echo "NVML version        : 12.999" ;;
    *driver_version*) echo "999.99" ;;
    *) echo "0, 55, 1500, 9501, 1500, 37, 10240, 2048, 40, 160.00, 320.00, 168.20, 320.00, GPU-fa4e0000-0000-4000-8000-000000000000, 00000000:01:00.0, 320.00"
       echo "1, 61, 1500, 9501, 1500, 37, 10240, 2048, 40, 160.00, 320.00, 160.00, 320.00, GPU-fa4e0000-0000-4000-8000-000000000001, 00000000:09:00.0, 320.00" ;;
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
grep -q "PASS  power_draw_w = 160.00, nvidia-smi power.draw = 168.20" <<<"$out" || fail "watts: $out"
grep -q "PASS  uuid = GPU-fa4e0000-0000-4000-8000-000000000001" <<<"$out" || fail "uuid: $out"
grep -q "FAIL  pci_bus_id = 00000000:02:00.0, nvidia-smi pci.bus_id = 00000000:09:00.0" <<<"$out" ||
    fail "GPU 1 bus id: $out"
grep -q "GPU 1 clock_offsets" <<<"$out" || fail "clock offsets probed: $out"
grep -q "GPU 1 power_target" <<<"$out" || fail "both GPUs probed: $out"
grep -Eq "^[0-9]+ passed, 2 failed, [0-9]+ skipped$" <<<"$out" || fail "summary: $out"
# Nothing but the hand-back of fans the driver already has reached the card.
if [ -s "$dir/calls" ] && grep -v "^SetDefaultFanSpeed " "$dir/calls"; then
    fail "the check wrote to the card: $(cat "$dir/calls")"
fi
echo "hardware check: ok"
