#!/usr/bin/env bash
# Lists the functions longer than 80 lines in our C++ sources, tests included, and exits 1 when
# there is one. A function's length runs from its first line to the end line universal-ctags
# gives it. The data tables named below are exempt: each is one table of cases or texts, and
# splitting it would only scatter the rows.
#
#   scripts/long-functions.sh          the sources git knows in this checkout
#   scripts/long-functions.sh FILE...  these files
#
# Exits 77 (a skipped test) when universal-ctags is not installed or the sources are not a git
# checkout.
set -euo pipefail

limit=80
data_tables=(
    "app/tests/fault_sweep_test.cpp:Flows()"
    "platform/control/tests/config_test.cpp:TEST(ParseConfig,RefusesWithAPrintableBoundedMessageNamingTheFileAndTheEntry)"
    "remap/tests/conflict_walk_test.cpp:TEST(ConflictWalk,Cases)"
    "res/string_table.cpp:StringTable()"
)

if ! ctags --version 2>/dev/null | grep -q 'Universal Ctags'; then
    echo "long-functions: universal-ctags is not installed; skipped" >&2
    exit 77
fi

if [ $# -gt 0 ]; then
    files=$(realpath -- "$@")
else
    cd "$(dirname "$0")/.."
    if ! files=$(git ls-files -- '*.cpp' '*.h' 2>/dev/null); then
        echo "long-functions: not a git checkout; skipped" >&2
        exit 77
    fi
fi

long=$(printf '%s\n' "$files" |
    ctags -L - --language-force=C++ --kinds-C++=f --fields=+neS -x \
        --_xformat='%{end}	%{line}	%F	%N%S' |
    awk -F'\t' -v limit="$limit" -v exempt="$(printf '%s\n' "${data_tables[@]}")" '
        BEGIN { n = split(exempt, names, "\n"); for (i = 1; i <= n; i++) skip[names[i]] = 1 }
        {
            lines = $1 - $2 + 1
            if (lines > limit && !(($3 ":" $4) in skip)) printf "%s:%s: %s is %d lines\n", $3, $2, $4, lines
        }')

if [ -n "$long" ]; then
    printf '%s\n' "$long"
    echo "long-functions: functions over $limit lines (split them into named steps)" >&2
    exit 1
fi
