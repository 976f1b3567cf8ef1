#!/usr/bin/env bash
# run.sh's start of the simulated boards reports a tav-boards that ended at once, with its reason,
# instead of announcing boards that are not there.
# boards_fail.sh SCRIPTS_DIR TAV_BOARDS WORK_DIR
set -uo pipefail
scripts="$1" binary="$2" work="$3"
mkdir -p "$work"
source "$scripts/boards.sh"

export TAVORA_CONFIG="$work/no-such-router.json"
boards_pid="not set"
start_boards "$binary" "$work/boards.log" >"$work/said" 2>&1
status=$?
said=$(cat "$work/said")
fail() { echo "FAIL: $*"; echo "it said: $said"; exit 1; }
[ $status -ne 0 ] || fail "start_boards succeeded"
[ -z "$boards_pid" ] || fail "a pid was kept for boards that are not running"
grep -q "did not start" <<<"$said" || fail "no report that the boards did not start"
grep -q "no-such-router.json" <<<"$said" || fail "tav-boards' own reason is missing"
grep -q "Simulated router boards started" <<<"$said" && fail "announced boards that are not there"
echo "ok: $said"
