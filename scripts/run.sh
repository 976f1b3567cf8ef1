#!/usr/bin/env bash
# Builds Tavora and runs it against the simulated control system (the built-in configuration, or
# the file named by TAVORA_CONFIG) with its simulated router boards. Builds in TAV_BUILD (default
# build).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
build="${TAV_BUILD:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs" --target tavora tav-boards

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
  export TAVORA_SNAPSHOT_DIR="${TAVORA_SNAPSHOT_DIR:-$PWD/out/snapshots}"
  echo "No display found: Tavora runs on the offscreen platform and saves a picture of each"
  echo "open window to $TAVORA_SNAPSHOT_DIR every half second. Stop it with Ctrl+C."
  if [ "${TAVORA_ANSWER_STARTUP:-}" = "no" ]; then
    echo "The first start's question (set up the System Definition Table now?) is answered No."
  else
    echo "On a first start Tavora waits at its start-up question (set up the System Definition"
    echo "Table now?), which nobody can answer here: run with TAVORA_ANSWER_STARTUP=no to answer"
    echo "it No and reach the main window."
  fi
fi

source scripts/boards.sh
if ! start_boards "$build/programs/tav-boards/tav-boards" "${TMPDIR:-/tmp}/tav-boards.log"; then
  echo "Tavora runs all the same; a remap will wait for boards that never answer." >&2
fi
cleanup() {
  if [ -n "$boards_pid" ]; then
    kill "$boards_pid" 2>/dev/null || true
    wait "$boards_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT INT TERM

status=0
"$build/programs/tavora/tavora" || status=$?
exit $status
