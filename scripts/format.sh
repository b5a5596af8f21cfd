#!/usr/bin/env bash
# The C++ files under version control, formatted with the repository's .clang-format.
#   scripts/format.sh          list the files that are not formatted; fails if there are any
#   scripts/format.sh --fix    format them in place
set -euo pipefail
cd "$(dirname "$0")/.."

clang_format=${CLANG_FORMAT:-clang-format}
mapfile -t files < <(git ls-files -- 'src/*' 'drivers/*' 'tools/*' 'tests/*' 'bench/*' |
    grep -E '\.(cpp|h|hpp|cc)$' || true)
[ ${#files[@]} -eq 0 ] && exit 0

if [ "${1:-}" = "--fix" ]; then
    "$clang_format" -i "${files[@]}"
    exit 0
fi

unformatted=()
for f in "${files[@]}"; do
    [ -f "$f" ] || continue  # deleted in the working tree
    "$clang_format" --dry-run --Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -ne 0 ]; then
    echo "Not formatted (run scripts/format.sh --fix or cmake --build --preset ci --target format):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
