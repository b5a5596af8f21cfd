#!/usr/bin/env bash
# Checks Vantrel against the card it runs on: every reading through the driver
# library beside nvidia-smi's value for the same field, and which write
# interfaces the card accepts, found by writing each current value back
# (vantrel --self-test). Nothing on the card is changed. Safe to run as root.
#
#   scripts/hardware-check.sh [--simulate [CARD.xml]] [--vantrel PATH]
#
# Exits 0 when nothing failed, 1 when something did, and vantrel's own exit
# code when no report could be made at all.
set -u

here=$(cd "$(dirname "$0")" && pwd)
vantrel=${VANTREL:-}
driver_args=()
while [ $# -gt 0 ]; do
    case $1 in
        --simulate)
            driver_args=(--simulate)
            if [ $# -gt 1 ] && [ "${2#-}" = "$2" ]; then driver_args+=("$2"); shift; fi ;;
        --vantrel) vantrel=$2; shift ;;
        -h | --help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) echo "hardware-check: unknown argument '$1'" >&2; exit 2 ;;
    esac
    shift
done
if [ -z "$vantrel" ]; then
    for candidate in "$here/../build/bin/vantrel" "$(command -v vantrel 2>/dev/null)"; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then vantrel=$candidate; break; fi
    done
fi
[ -x "$vantrel" ] || { echo "hardware-check: no vantrel program found (use --vantrel PATH)" >&2; exit 2; }

passed=0 failed=0 skipped=0
verdict() {  # verdict pass|fail|skip TEXT
    case $1 in
        pass) passed=$((passed + 1)); echo "  PASS  $2" ;;
        fail) failed=$((failed + 1)); echo "  FAIL  $2" ;;
        *) skipped=$((skipped + 1)); echo "  SKIP  $2" ;;
    esac
}
limit() { timeout --kill-after=5 "$@"; }

# The fields read through the bridge, and nvidia-smi's name for the same value.
# Kinds: clock (within 10 % or 30 MHz), temp (2 °C), mem (exact to the MiB),
# percent (5 points), power (percent of the default limit, within 10 points),
# watts (within 10 % of the default limit, else of nvidia-smi's value), exact (the same text).
fields=(temperature_c:temperature.gpu:temp
        gpu_clock_mhz:clocks.gr:clock
        memory_clock_mhz:clocks.mem:clock
        shader_clock_mhz:clocks.sm:clock
        gpu_usage_percent:utilization.gpu:percent
        memory_total_mib:memory.total:mem
        memory_used_mib:memory.used:mem
        fan_level_percent:fan.speed:percent
        power_draw_percent:power.draw:power
        power_limit_percent:power.limit:power
        power_draw_w:power.draw:watts
        power_limit_w:power.limit:watts
        uuid:uuid:exact
        pci_bus_id:pci.bus_id:exact)
query=index
smi_query=index
for f in "${fields[@]}"; do
    IFS=: read -r ours theirs _ <<<"$f"
    query+=,$ours
    smi_query+=,$theirs
done
smi_query+=,power.default_limit

echo "Vantrel hardware check"
echo "Program: $vantrel ${driver_args[*]}"
status_err=$(mktemp)
trap 'rm -f "$status_err"' EXIT
report=$(limit 60 "$vantrel" "${driver_args[@]}" --status --format csv --gpu all --no-header --no-units \
    --query "$query,name,driver_version" 2>"$status_err")
code=$?
if [ $code -ne 0 ]; then
    echo "vantrel --status failed with exit code $code:"
    sed 's/^/  /' "$status_err"
    echo "0 passed, 1 failed, 0 skipped"
    exit $code
fi

smi=$(command -v nvidia-smi 2>/dev/null)
[ ${#driver_args[@]} -gt 0 ] && smi=""  # the simulated card has no counterpart
driver_version=$(printf '%s\n' "$report" | head -n1 | awk -F, '{print $NF}')
echo "Driver version (through the driver library): ${driver_version:-unknown}"
if [ -n "$smi" ]; then
    echo "Driver version (nvidia-smi): $(limit 20 "$smi" --query-gpu=driver_version --format=csv,noheader | head -n1)"
    nvml=$(limit 20 "$smi" --version 2>/dev/null | sed -n 's/^NVML version *: *//Ip' | head -n1)
    echo "NVML version: ${nvml:-not reported by nvidia-smi}"
    smi_rows=$(limit 60 "$smi" --query-gpu="$smi_query" --format=csv,noheader,nounits 2>&1) || {
        echo "nvidia-smi failed: $smi_rows"
        smi=""
    }
elif [ ${#driver_args[@]} -gt 0 ]; then
    echo "NVML version: none (simulated card); nothing is compared with nvidia-smi"
else
    echo "NVML version: unknown; nvidia-smi is absent, so nothing is compared"
fi

# within OURS THEIRS KIND DEFAULT_W: prints the difference and sets ok=1 when within tolerance.
within() {
    awk -v a="$1" -v b="$2" -v kind="$3" -v def="$4" 'BEGIN {
        if (kind == "power") {
            if (def + 0 <= 0) { print "no default limit"; exit 2 }
            b = b * 100 / def
        }
        d = a - b; if (d < 0) d = -d
        tol = 0
        if (kind == "watts") tol = (def + 0 > 0 ? def : b) * 0.10
        else if (kind == "clock") { tol = b * 0.10; if (tol < 30) tol = 30 }
        else if (kind == "temp") tol = 2
        else if (kind == "percent" || kind == "power") tol = (kind == "power") ? 10 : 5
        else if (kind == "mem") tol = 1
        printf "difference %.1f (tolerance %.1f)", a - b, tol
        exit (d <= tol) ? 0 : 1
    }'
}

while IFS= read -r row; do
    [ -n "$row" ] || continue
    IFS=, read -r -a ours <<<"$row"
    gpu=${ours[0]}
    echo
    echo "GPU $gpu: ${ours[${#fields[@]}+1]:-unknown name}"
    theirs=()
    if [ -n "$smi" ]; then
        line=$(printf '%s\n' "$smi_rows" | awk -F', *' -v g="$gpu" '$1 == g')
        IFS=, read -r -a theirs <<<"$(printf '%s' "$line" | sed 's/, */,/g')"
    fi
    default_w=${theirs[${#fields[@]}+1]:-}
    for i in "${!fields[@]}"; do
        IFS=: read -r name smi_name kind <<<"${fields[$i]}"
        value=${ours[$((i + 1))]:-}
        if [ -z "$value" ]; then
            verdict skip "$name: not given by the driver library"
            continue
        fi
        if [ -z "$smi" ]; then
            verdict skip "$name = $value (nothing to compare with)"
            continue
        fi
        other=${theirs[$((i + 1))]:-}
        case $other in
            "" | *"N/A"* | *"Not Supported"* | *"["*)
                verdict skip "$name = $value; nvidia-smi gives no $smi_name"
                continue ;;
        esac
        if [ "$kind" = mem ] && [ "$gpu" != 0 ]; then
            # The memory reading is of the driver's default GPU whichever GPU is in use.
            verdict skip "$name = $value, nvidia-smi $other: memory is read of GPU 0 only"
            continue
        fi
        if [ "$kind" = exact ]; then
            if [ "$value" = "$other" ]; then
                verdict pass "$name = $value, nvidia-smi $smi_name the same"
            else
                verdict fail "$name = $value, nvidia-smi $smi_name = $other"
            fi
            continue
        fi
        if diff=$(within "$value" "$other" "$kind" "$default_w"); then
            verdict pass "$name = $value, nvidia-smi $smi_name = $other, $diff"
        else
            verdict fail "$name = $value, nvidia-smi $smi_name = $other, $diff"
        fi
    done
done <<<"$report"

echo
socket=${VANTREL_SERVICE_SOCKET-/run/vantrel/vantreld.sock}
if [ -n "$socket" ] && [ -S "$socket" ]; then
    echo "Writes (through the service vantreld at $socket):"
else
    echo "Writes (in this process; vantreld is not running):"
fi
probe=$(limit 120 "$vantrel" "${driver_args[@]}" --self-test 2>"$status_err")
code=$?
[ $code -eq 0 ] || verdict fail "vantrel --self-test exited with $code: $(tr '\n' ' ' <"$status_err")"
while read -r word gpu iface result detail; do
    [ "$word" = write ] || continue
    case $result in
        pass) verdict pass "GPU $gpu $iface: $detail" ;;
        fail) verdict fail "GPU $gpu $iface: $detail" ;;
        refused) verdict skip "GPU $gpu $iface refused: $detail" ;;
        *) verdict skip "GPU $gpu $iface: $detail" ;;
    esac
done <<<"$probe"

echo
echo "$passed passed, $failed failed, $skipped skipped"
[ $failed -eq 0 ]
