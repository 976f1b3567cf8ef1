#!/usr/bin/env bash
# Builds and runs every test: the normal build (in TAV_BUILD, default build), then the address and
# undefined-behaviour sanitizer build beside it (build-asan). Needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# Our code keeps the project's format.
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

build="${TAV_BUILD:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B "$build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAV_SANITIZE=ON
cmake --build "$build-asan" -j "$jobs"
ctest --test-dir "$build-asan" --output-on-failure -j "$jobs"

# The parsers of untrusted input under the coverage-guided fuzzer, each for a bounded time.
bash scripts/fuzz.sh
