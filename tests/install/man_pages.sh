#!/usr/bin/env bash
# The man pages format without a warning and name every option the programs take.
# Usage: man_pages.sh SOURCE_DIR VANTREL [VANTRELD]
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }
pages="$1/docs/man"
for page in "$pages/vantrel.1" "$pages/vantreld.8"; do
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "$page: $warnings"
done
# options PAGE: the long options the page documents, as the reader sees them.
options() { LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$1" 2>/dev/null | col -b | grep -o -- '--[a-z][a-z-]*' | sort -u; }
documented="$(options "$pages/vantrel.1")"
for option in $("$2" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -qx -- "$option" <<<"$documented" || fail "vantrel.1 lacks $option"
done
if [ $# -ge 3 ]; then
    documented="$(options "$pages/vantreld.8")"
    usage="$("$3" --no-such-option 2>&1 || true)"
    for option in $(grep -o -- '--[a-z][a-z-]*' <<<"${usage#usage: vantreld}" | sort -u); do
        grep -qx -- "$option" <<<"$documented" || fail "vantreld.8 lacks $option"
    done
fi
echo "man pages ok"
