#!/usr/bin/env bash
# The full crash and soak runs (docs/robustness.md), once: builds tav-soak in build/ and runs
# SOAK_KILLS (default 1000) kills during rewrites of TAV.SDF, TAV.IXT and TAV.OXT with the data
# folder on the disk (under $TMPDIR), so that every rewrite's fsync and rename are the real ones;
# then SOAK_CYCLES (default 10000) remap and restore cycles, printing the memory curve every 500
# cycles, with the data folder in /dev/shm when there is one (the disk would only make it slower);
# then SOAK_WORKSTATIONS (default 4) workstations on one data folder on the disk, each making
# SOAK_CHANGES (default 500) random remaps and restores.
# Exits non-zero when a file was not whole, a leftover stayed, something grew, or a RE-MAP message
# or the table file lost a confirmed change.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TAV_BUILD:-$root/build}"
kills="${SOAK_KILLS:-1000}"
cycles="${SOAK_CYCLES:-10000}"
workstations="${SOAK_WORKSTATIONS:-4}"
changes="${SOAK_CHANGES:-500}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
cmake --build "$build" -j2 --target tav-soak >/dev/null
soak="$build/programs/tav-soak/tav-soak"

status=0
echo "== $kills kills during rewrites (data folder under ${TMPDIR:-/tmp})"
"$soak" crash "$kills" || status=1
echo "== $cycles remap and restore cycles"
memory=/dev/shm
[ -d "$memory" ] || memory="${TMPDIR:-/tmp}"
TMPDIR="$memory" "$soak" cycles "$cycles" 500 || status=1
echo "== $workstations workstations on one data folder, $changes changes each"
"$soak" shared "$workstations" "$changes" || status=1
exit "$status"
