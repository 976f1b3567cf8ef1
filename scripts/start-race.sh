#!/usr/bin/env bash
# Two real Tavoras started together, PAIRS times (docs/robustness.md). Each pair shares one
# runtime folder (where the single-instance marker lives) and runs on Qt's offscreen platform;
# each copy ends at its first message box, or holds its main window until the other copy has
# ended (TAVORA_BENCH_EXIT_AT_FIRST_WINDOW=after-input). Every pair must give exactly one whole
# program (its main window, its control system started: File Access removed the stale
# replacement planted in its data folder) and one copy that said "Another Tavora is already
# running" and started nothing (its planted file is still there, nothing on stderr).
# start-race.sh [PAIRS [TAVORA]]   PAIRS: default 100; TAVORA: default the build's tavora
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pairs="${1:-100}"
tavora="${2:-${TAV_BUILD:-$root/build}/programs/tavora/tavora}"
if [ ! -x "$tavora" ]; then
  echo "start-race: no tavora at $tavora" >&2
  exit 2
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/tav-start-race.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# The boards are sent to at a loopback address no test listens on, so the refresh requests of
# the main window reach nobody's sockets; the status port is one the system chooses.
config="$work/config.json"
cat >"$config" <<JSON
{
  "rebootPort": 9,
  "statusPort": 0,
  "boardNetwork": {"destination": "127.0.0.254"},
  "levels": [
    {"switcher": "MAIN", "level": "VIDEO", "inputs": 128, "outputs": 64, "board": 0},
    {"switcher": "MAIN", "level": "AUDIO1", "inputs": 64, "outputs": 64, "board": 1}
  ],
  "boards": [
    {"name": "MAINVID", "address": "02:00:00:00:00:01", "type": "Q"},
    {"name": "MAINAUD", "address": "02:00:00:00:00:02", "type": "B"}
  ]
}
JSON
leftover=".TAV.IXT.tav-RACE01"

prepare() {  # dir copy
  mkdir -p "$1/data-$2"
  printf '%8s%8s%4d%4d%2d%2d%2d%2d%2d\n' MAIN VIDEO 128 64 0 0 0 0 0 MAIN AUDIO1 64 64 1 0 0 0 0 \
    >"$1/data-$2/TAV.SDF"
  : >"$1/data-$2/$leftover"
}

judge() {  # dir copy exit-code; prints whole, refused or what went wrong
  local out err kept=removed
  out="$(cat "$1/out-$2")"
  err="$(cat "$1/err-$2")"
  [ -e "$1/data-$2/$leftover" ] && kept=kept
  if [ "$3" = 0 ] && [ "$out" = "first window: Tavora" ] && [ "$kept" = removed ]; then
    echo whole
  elif [ "$3" = 3 ] && [ "$out" = "message box: tavora: Another Tavora is already running" ] &&
    [ -z "$err" ] && [ "$kept" = kept ]; then
    echo refused
  else
    echo "exit $3, said '${out//$'\n'/ / }', stderr '${err//$'\n'/ / }', planted file $kept"
  fi
}

held=0
for pair in $(seq 1 "$pairs"); do
  dir="$work/$pair"
  mkdir -p "$dir/run"
  chmod 700 "$dir/run"
  prepare "$dir" a
  prepare "$dir" b
  mkfifo "$dir/in-a" "$dir/in-b"
  pids=()
  for copy in a b; do
    # Each copy waits in the opening of its input until both inputs are opened below, so the
    # two start within microseconds of each other.
    env -u TAVORA_ANSWER_STARTUP -u TAVORA_SNAPSHOT_DIR QT_QPA_PLATFORM=offscreen \
      XDG_RUNTIME_DIR="$dir/run" TAVORA_CONFIG="$config" TAVORA_DATA_DIR="$dir/data-$copy" \
      TAVORA_AUDIT_JOURNAL=off XDG_STATE_HOME="$dir/state" \
      TAVORA_BENCH_EXIT_AT_FIRST_WINDOW=after-input \
      timeout 30 "$tavora" <"$dir/in-$copy" >"$dir/out-$copy" 2>"$dir/err-$copy" &
    pids+=($!)
  done
  exec 7>"$dir/in-a" 8>"$dir/in-b"
  wait -n "${pids[@]}"
  exec 7>&- 8>&-
  codes=()
  for pid in "${pids[@]}"; do
    wait "$pid"
    codes+=($?)
  done
  a="$(judge "$dir" a "${codes[0]}")"
  b="$(judge "$dir" b "${codes[1]}")"
  if [ "$a $b" = "whole refused" ] || [ "$a $b" = "refused whole" ]; then
    held=$((held + 1))
  else
    echo "pair $pair: first copy: $a; second copy: $b"
  fi
  rm -rf "$dir"
done
echo "start-race: $pairs pairs tried, $held held (one whole program, one copy refused)"
[ "$held" -eq "$pairs" ]
