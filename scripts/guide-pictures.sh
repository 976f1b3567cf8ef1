#!/usr/bin/env bash
# Makes every picture of the operator's guide (docs/guide/*.png) again, from the scenarios that
# show them (docs/guide/tests/scenarios/*.scn), with the real program's windows on Qt's offscreen
# platform. Run it after a change to any window; then look at the pictures before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${TAV_BUILD:-build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  bash scripts/install-deps.sh
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target tav-scenario

made=$(mktemp -d)
trap 'rm -rf "$made"' EXIT
for scenario in docs/guide/tests/scenarios/*.scn; do
  if ! QT_QPA_PLATFORM=offscreen "$build/programs/tav-scenario/tav-scenario" --qt --quiet \
        --pictures "$made" "$scenario"; then
    echo "guide-pictures: $scenario failed; no picture was replaced" >&2
    exit 1
  fi
done

# Every picture comes from this run: one that no scenario makes any more goes.
rm -f docs/guide/*.png
cp "$made"/*.png docs/guide/
cmake -DGUIDE=docs/operator-guide.md -DSCENARIOS=docs/guide/tests/scenarios \
      -DPICTURES=docs/guide -P docs/guide/tests/pictures.cmake
echo "guide-pictures: $(ls docs/guide/*.png | wc -l) pictures in docs/guide ($(du -ch docs/guide/*.png | tail -1 | cut -f1))"
