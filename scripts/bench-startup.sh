#!/usr/bin/env bash
# Start-up benchmark: how long Tavora takes to show its first window on the Qt back end (offscreen)
# with the largest configuration the configuration's bounds allow (100 levels of 9999 inputs and
# outputs, 200 boards), against the built-in one. Each run is the scenario player starting the
# program, answering the System Definition question, closing the main window and ending, so the
# figure is an upper bound of the time to the first window. Prints the median of RUNS runs
# (default 7) of each. Needs a build with the Qt back end (TAV_BUILD, default build).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TAV_BUILD:-$root/build}"
runs="${RUNS:-7}"
player="$build/programs/tav-scenario/tav-scenario"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

source "$root/scripts/largest_config.sh"
largest_config >"$work/largest.json"

cat >"$work/first-window.scn" <<'SCN'
msgbox caption="Load System Definition Table" icon=exclamation buttons=yesno -> no
window 102 "Tavora"
click 1019
exit 0
SCN

median_ms() {  # config-argument...
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    QT_QPA_PLATFORM=offscreen "$player" --qt --quiet "$@" "$work/first-window.scn" >/dev/null \
      || { echo "the start-up scenario failed" >&2; exit 1; }
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

builtin=$(median_ms)
largest=$(median_ms --config "$work/largest.json")
echo "built-in configuration (5 levels, 6 boards): $builtin ms"
echo "largest configuration (100 levels, 200 boards): $largest ms"
