#!/usr/bin/env bash
# The long-functions check counts what it should: it refuses a function of 81 lines, naming it,
# and lets one of 80 pass.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
said=$(bash "$here/../long-functions.sh" "$here/long_functions_fixture.txt" 2>&1)
status=$?
[ $status -eq 77 ] && { echo "$said"; exit 77; }
fail() { echo "FAIL: $*"; echo "it said: $said"; exit 1; }
[ $status -eq 1 ] || fail "exit status $status, not 1"
grep -q "EightyOneLines() is 81 lines" <<<"$said" || fail "the 81-line function is not named"
grep -q "EightyLines()" <<<"$said" && fail "the 80-line function is named"
echo "ok: $said"
