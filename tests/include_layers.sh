#!/usr/bin/env bash
# The layers of docs/architecture.md, held: an include under src/ may name its own
# folder or a folder of a lower layer, never a higher one. Prints each folder's
# includes by target folder, then every include that goes up.
set -euo pipefail
src="$1/src"
declare -A rank=([platform]=0 [gpu]=1 [settings]=1 [skin]=2 [fan]=3 [services]=4
                 [tuning]=5 [monitor]=5 [info]=5 [setup]=5 [app]=6)
bad=0
for dir in "$src"/*/; do
    from=$(basename "$dir")
    [ -n "${rank[$from]:-}" ] || { echo "FAIL: src/$from has no layer in this check"; bad=$((bad + 1)); continue; }
    declare -A count=()
    while IFS=: read -r file line text; do
        to=$(sed -n 's/^#include "\([a-z_]*\)\/.*/\1/p' <<<"$text")
        [ -n "$to" ] || continue
        [ -n "${rank[$to]:-}" ] || continue  # not a folder of src/ (the driver contract, say)
        count[$to]=$(( ${count[$to]:-0} + 1 ))
        if [ "${rank[$to]}" -gt "${rank[$from]}" ]; then
            echo "FAIL: ${file#"$1"/}:$line includes $to/, a higher layer than $from/"
            bad=$((bad + 1))
        fi
    done < <(grep -rn '^#include "' "$dir" --include='*.h' --include='*.cpp' || true)
    summary=""
    for to in "${!count[@]}"; do summary+=" $to:${count[$to]}"; done
    printf '%-9s (layer %d) includes%s\n' "$from" "${rank[$from]}" "$(tr ' ' '\n' <<<"$summary" | sort | tr '\n' ' ')"
    unset count
done
[ "$bad" -eq 0 ] || { echo "$bad includes go up"; exit 1; }
echo "layers: ok"
