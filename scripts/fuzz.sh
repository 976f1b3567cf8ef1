#!/usr/bin/env bash
# Builds the RE-MAP parser's libFuzzer target with clang in a build folder of its own and runs it
# for a bounded time (FUZZ_SECONDS, default 30) from a seed corpus of well-formed messages.
# Exits non-zero when the fuzzer finds a crash, a leak or an invariant broken; the input that
# did it is left in build-fuzz/artifacts/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TAV_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-30}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DTAV_FUZZ=ON -DTAV_WITH_QT=OFF \
  -DTAV_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tav_remap_fuzz -j2

# Seeds: the worked example, two boards with output data, an emptied table, a refresh request
# and a report. Written here so that the corpus never goes stale against the format.
seeds="$build/seeds"
corpus="$build/corpus"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus" "$build/artifacts"
printf 'RE-MAP\x02\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x01I\xcb\x2d\x03\x01\x00\x05\x00\x78' \
  >"$seeds/worked-example"
printf 'RE-MAP\x02\x00\x00\x00\x00\x01\x02\x00\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00\x02O\x27\x12\x00\x02\x00\x01\x00\x10\x00\x00\x00\x02\x00\x11' \
  >"$seeds/two-boards-output"
printf 'RE-MAP\x02\x00\x00\x00\x00\x04\x00\x00\x00\x00\x00\x00\x00O\x00\x00' >"$seeds/emptied-table"
printf 'BRD-RFSH\xff\xff' >"$seeds/refresh-all"
printf 'BRD-INFO\x00\x00\x01\x00\x2d\xcb\x00\x00\x00\x00' >"$seeds/report"

"$build/platform/control/fuzz/tav_remap_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$build/artifacts/" "$corpus" "$seeds"
