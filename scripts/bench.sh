#!/usr/bin/env bash
# Every benchmark of docs/performance.md in one run, side by side, on one machine, ending with the
# table to paste there. Builds what it needs in a release build of its own beside the build folder
# (TAV_BUILD, default build, plus -rel: RelWithDebInfo, as the CI builds) and runs:
#   1-3. the in-process figures (Google Benchmark, build-rel/bench/tav_bench), medians of REPS
#        repetitions (default 5): the 100,000-line table file read against std::getline, the
#        conflict walk on a table at the limit, board choice and message build for 4,096 boards;
#   4.   the processor time of one 30-second wait for silent boards, in real time (30 s);
#   5.   start-up to the first window shown and peak memory of tavora on Qt offscreen (built-in
#        configuration, and the largest the bounds allow) against a bare Qt 6 dialog built in the
#        same tree, RUNS runs each (default 11), interleaved, medians. Both programs end right
#        after their first window is exposed and painted (TAVORA_BENCH_EXIT_AT_FIRST_WINDOW=1);
#        each data folder holds a TAV.SDF that matches its configuration, so tavora's first window
#        is its main window, which the script checks;
#   6.   the exit: File > Exit to the end of the process, RUNS runs each (interleaved, medians) of
#        tavora with the built-in configuration and of tavora with a configuration file (the
#        built-in configuration's text) and tav-boards running, on Qt offscreen
#        (TAVORA_BENCH_EXIT_AT_FIRST_WINDOW=menu-exit: half a second at the main window, then the
#        menu's Exit);
#   7.   the idle program: the system calls of every thread of tavora in 10 seconds at its main
#        window (strace -f -c, attached 2 seconds after the window is shown), both cases as in 6.
# Takes about two and a half minutes on an idle machine. Nothing here is a test: no figure fails the run.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TAV_BUILD:-$root/build}-rel"
runs="${RUNS:-11}"
reps="${REPS:-5}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_TESTS=OFF \
    "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j2 --target tav_bench tavora bare_qt_dialog spawn_measure \
  tav-boards >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

bench="$build/bench/tav_bench"
measure="$build/bench/spawn_measure"
tavora="$build/programs/tavora/tavora"
bare="$build/bench/bare_qt_dialog"
boards="$build/programs/tav-boards/tav-boards"

build_type="$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")"
cpu="$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
cores="$(nproc)"
compiler="$("$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")" --version | head -1)"
qt="$(dpkg-query -W -f '${Version}' libqt6widgets6 2>/dev/null || echo unknown)"
memory="$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)"
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
started="$(date -u '+%Y-%m-%d %H:%M UTC')"

# --- 1 to 3: in process -----------------------------------------------------------------------
# One run per benchmark: Google Benchmark's CSV wants the same counters in every row of a file.
echo "in-process benchmarks ($reps repetitions each)..." >&2
for name in TableFileRead TableFileLines TableFileGetline ConflictWalkSinglesNoClash \
  ConflictWalkRangeNoClash ConflictWalkEveryEntryAsked BoardChoiceAndMessage; do
  "$bench" --benchmark_filter="^$name\$" --benchmark_repetitions="$reps" \
    --benchmark_report_aggregates_only=true --benchmark_out_format=csv \
    --benchmark_out="$work/$name.csv" >&2
done

# --- 4: the wait for silent boards, in real time ----------------------------------------------
echo "one 30-second wait for silent boards..." >&2
"$bench" --benchmark_filter='^SilentBoardsWait/' \
  --benchmark_out_format=csv --benchmark_out="$work/SilentBoardsWait.csv" >&2

# column NAME of row ROW of a Google Benchmark CSV file
field() {  # file row column
  awk -F, -v row="$2" -v col="$3" '
    /^name,/ { for (i = 1; i <= NF; i++) { h = $i; gsub(/"/, "", h); c[h] = i }; next }
    { n = $1; gsub(/"/, "", n); if (n == row && (col in c)) { v = $(c[col]); gsub(/"/, "", v); print v; exit } }
  ' "$1"
}

# --- 5: start-up and peak memory --------------------------------------------------------------
# TAV.SDF lines for levels given as "switcher level inputs outputs" lines on stdin.
sysdef_lines() {
  local position=0 switcher level inputs outputs
  while read -r switcher level inputs outputs; do
    printf '%8s%8s%4d%4d%2d%2d%2d%2d%2d\n' "$switcher" "$level" "$inputs" "$outputs" \
      "$position" 0 0 0 0
    position=$((position + 1))
  done
}

mkdir -p "$work/builtin/data" "$work/largest/data" "$work/run"
chmod 700 "$work/run"
printf '%s\n' "MAIN VIDEO 128 64" "MAIN AUDIO1 64 64" "MAIN AUDIO2 64 32" "STUDIO VIDEO 32 32" \
  "STUDIO TC 16 16" | sysdef_lines >"$work/builtin/data/TAV.SDF"

source "$root/scripts/largest_config.sh"
largest_config >"$work/largest/config.json"
for i in $(seq 0 99); do
  printf 'SW%02d LEVEL%03d 9999 9999\n' $((i / 10)) "$i"
done | sysdef_lines >"$work/largest/data/TAV.SDF"

# One measured start: appends "wall-ms processor-ms KiB" to the kind's results and checks that
# the window it ended at is the one asked for.
start_once() {  # kind
  local kind="$1" expected out="$work/$1.out"
  local -a env_args=(env -u TAVORA_CONFIG -u TAVORA_ANSWER_STARTUP -u TAVORA_SNAPSHOT_DIR
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" TAVORA_BENCH_EXIT_AT_FIRST_WINDOW=1)
  case "$kind" in
    bare)
      expected="Bare dialog"
      env_args+=("$bare")
      ;;
    builtin)
      expected="Tavora"
      env_args+=(TAVORA_DATA_DIR="$work/builtin/data" "$tavora")
      ;;
    largest)
      expected="Tavora"
      env_args+=(TAVORA_DATA_DIR="$work/largest/data" TAVORA_CONFIG="$work/largest/config.json"
        "$tavora")
      ;;
  esac
  "$measure" "$work/one" "$(command -v env)" "${env_args[@]:1}" >"$out" 2>"$work/$kind.err" || {
    echo "the $kind start failed:" >&2
    cat "$work/$kind.err" >&2
    exit 1
  }
  if ! grep -q "^first window: $expected" "$out"; then
    echo "the $kind start showed another first window: $(cat "$out")" >&2
    exit 1
  fi
  cat "$work/one" >>"$work/$kind.results"
}

median() {  # file column
  local n
  n=$(wc -l <"$1")
  awk -v c="$2" '{ print $c }' "$1" | sort -g | sed -n "$(((n + 1) / 2))p"
}

echo "start-up: $runs runs each of the bare dialog, tavora and tavora (largest), interleaved..." >&2
for kind in bare builtin largest; do
  start_once "$kind"  # a first start to fill the page cache, not counted
  : >"$work/$kind.results"
done
for _ in $(seq "$runs"); do
  for kind in bare builtin largest; do
    start_once "$kind"
  done
done

# --- 6 and 7: the exit and the idle program -----------------------------------------------------
# The built-in configuration's text as a file, so that the second case differs from the first only
# in having a file to watch and boards that answer.
mkdir -p "$work/file"
"$boards" --built-in-config >"$work/file/config.json"

# The environment of tavora for a case of 6 and 7, then the program.
tavora_env() {  # kind mode
  local -a args=(-u TAVORA_CONFIG -u TAVORA_ANSWER_STARTUP -u TAVORA_SNAPSHOT_DIR
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" TAVORA_DATA_DIR="$work/builtin/data"
    TAVORA_BENCH_EXIT_AT_FIRST_WINDOW="$2")
  [ "$1" = file ] && args+=(TAVORA_CONFIG="$work/file/config.json")
  printf '%s\n' "${args[@]}" "$tavora"
}

# One measured exit: appends the milliseconds from the menu's Exit to the end of the process.
exit_once() {  # kind
  local kind="$1" out="$work/exit-$1.out"
  local -a args
  mapfile -t args < <(tavora_env "$kind" menu-exit)
  "$measure" "$work/one" "$(command -v env)" "${args[@]}" >"$out" 2>"$work/exit-$kind.err" || {
    echo "the $kind exit run failed:" >&2
    cat "$work/exit-$kind.err" "$out" >&2
    exit 1
  }
  local asked
  asked="$(sed -n 's/^exit asked at //p' "$out")"
  if [ -z "$asked" ] || ! grep -q "^first window: Tavora" "$out"; then
    echo "the $kind exit run did not reach File > Exit: $(cat "$out")" >&2
    exit 1
  fi
  awk -v asked="$asked" '{ printf "%.3f\n", $4 - asked }' "$work/one" >>"$work/exit-$kind.results"
}

# The system calls of the idle program: one line "calls top-calls" for the kind.
idle_once() {  # kind
  local kind="$1" out="$work/idle-$1.out" pid hold
  local -a args
  mapfile -t args < <(tavora_env "$kind" after-input)
  rm -f "$work/in"
  mkfifo "$work/in"
  env "${args[@]}" <"$work/in" >"$out" 2>"$work/idle-$kind.err" &
  pid=$!
  exec {hold}>"$work/in"  # the program stays at its window until this closes
  for _ in $(seq 100); do
    grep -q "^first window: Tavora" "$out" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! grep -q "^first window: Tavora" "$out"; then
    echo "the $kind idle run did not reach the main window: $(cat "$out" "$work/idle-$kind.err")" >&2
    exit 1
  fi
  sleep 2
  timeout -s INT 10 strace -f -c -p "$pid" -o "$work/idle-$kind.strace" 2>/dev/null || true
  exec {hold}>&-
  wait "$pid" || true
  # The summary's last line is the total; none at all when nothing was called.
  awk '/^-+ / { rule++; next } rule == 1 && NF >= 5 { top = top (top ? ", " : "") $NF " " $4 }
       / total$/ { calls = $4 }
       END { printf "%d %s\n", calls, (top ? top : "none") }' "$work/idle-$kind.strace" \
    >"$work/idle-$kind.results"
}

echo "exit: $runs runs each of tavora (built-in) and tavora (file, boards), interleaved..." >&2
"$boards" --config "$work/file/config.json" >"$work/boards.log" 2>&1 &
boards_pid=$!
trap 'kill "$boards_pid" 2>/dev/null; wait "$boards_pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do
  grep -q "^tav-boards: .* boards of" "$work/boards.log" && break
  kill -0 "$boards_pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q "^tav-boards: .* boards of" "$work/boards.log"; then
  echo "tav-boards did not start: $(cat "$work/boards.log")" >&2
  exit 1
fi
: >"$work/exit-builtin.results"
: >"$work/exit-file.results"
for _ in $(seq "$runs"); do
  for kind in builtin file; do
    exit_once "$kind"
  done
done
if command -v strace >/dev/null; then
  echo "idle: 10 seconds of each at its main window under strace..." >&2
  for kind in builtin file; do
    idle_once "$kind"
  done
else
  echo "strace is not installed: no idle figures" >&2
  for kind in builtin file; do
    echo "n/a (no strace)" >"$work/idle-$kind.results"
  done
fi

load_after="$(cut -d' ' -f1-3 /proc/loadavg)"

# --- the table ---------------------------------------------------------------------------------
# Wall and processor time of a benchmark's median, in its unit.
# (A single repetition has no median row: its own row stands for it.)
median_of() {  # benchmark column
  local value
  value="$(field "$work/$1.csv" "$1_median" "$2")"
  [ -n "$value" ] || value="$(field "$work/$1.csv" "$1" "$2")"
  echo "$value"
}
wall() { median_of "$1" real_time; }
cpu() { median_of "$1" cpu_time; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
fmt() { awk -v v="$1" -v d="$2" 'BEGIN { printf "%." d "f", v }'; }
us() { awk -v v="$1" 'BEGIN { printf "%.2f", v / 1000 }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }
# "met" when the wall figure meets the goal, "met in processor time" when only that one does.
verdict() {  # wall processor goal
  awk -v w="$1" -v c="$2" -v g="$3" 'BEGIN {
    if (w <= g) print "met"; else if (c <= g) print "met in processor time"; else print "**missed**" }'
}

read_ratio_wall="$(ratio "$(wall TableFileRead)" "$(wall TableFileGetline)")"
read_ratio_cpu="$(ratio "$(cpu TableFileRead)" "$(cpu TableFileGetline)")"
lines_ratio_wall="$(ratio "$(wall TableFileLines)" "$(wall TableFileGetline)")"
lines_ratio_cpu="$(ratio "$(cpu TableFileLines)" "$(cpu TableFileGetline)")"
waited="SilentBoardsWait/iterations:1"
wait_wall="$(field "$work/SilentBoardsWait.csv" "$waited" wall_s)"
wait_cpu="$(field "$work/SilentBoardsWait.csv" "$waited" cpu_s)"
wait_percent="$(field "$work/SilentBoardsWait.csv" "$waited" cpu_percent_of_one_core)"
exit_builtin="$(median "$work/exit-builtin.results" 1)"
exit_file="$(median "$work/exit-file.results" 1)"
exit_slower="$(awk -v a="$exit_builtin" -v b="$exit_file" 'BEGIN { print (a > b ? a : b) }')"
read -r idle_builtin_calls idle_builtin_what <"$work/idle-builtin.results"
read -r idle_file_calls idle_file_what <"$work/idle-file.results"
idle_verdict() {
  if [ "$idle_builtin_calls" = n/a ]; then
    echo "not measured"
  elif [ "$idle_builtin_calls" = 0 ] && [ "$idle_file_calls" = 0 ]; then
    echo met
  else
    echo "**missed**"
  fi
}
for kind in bare builtin largest; do
  for column in 1 2 3; do
    printf -v "${kind}_$column" '%s' "$(median "$work/$kind.results" "$column")"
  done
done

cat <<TABLE
Run of $started: $cpu, $cores cores, $memory; load average (1, 5, 15 min) $load_before before
and $load_after after; build $build_type ($compiler); Qt $qt. In-process figures are medians of
$reps repetitions, start-up figures medians of $runs interleaved runs. Wall time is what a user
waits; processor time is what the code costs, the figure a busy machine disturbs least.

| # | Figure | Wall time | Processor time | Baseline: wall, processor | Ratio: wall, processor | Goal | |
|---|---|---|---|---|---|---|---|
| 1 | Table file read, 100,000 lines (File Access, line reader, parser, level check) | $(fmt "$(wall TableFileRead)" 1) ms | $(fmt "$(cpu TableFileRead)" 1) ms | std::getline: $(fmt "$(wall TableFileGetline)" 1) ms, $(fmt "$(cpu TableFileGetline)" 1) ms | $read_ratio_wall x, $read_ratio_cpu x | at most 2 x | $(verdict "$read_ratio_wall" "$read_ratio_cpu" 2) |
| 1 | The same file through File Access and the line reader only | $(fmt "$(wall TableFileLines)" 1) ms | $(fmt "$(cpu TableFileLines)" 1) ms | std::getline, as above | $lines_ratio_wall x, $lines_ratio_cpu x | | |
| 2 | Conflict walk, 63 single entries + 1, no clash | $(us "$(wall ConflictWalkSinglesNoClash)") µs | $(us "$(cpu ConflictWalkSinglesNoClash)") µs | | | | |
| 2 | Conflict walk, one 63-port range + 1, no clash | $(us "$(wall ConflictWalkRangeNoClash)") µs | $(us "$(cpu ConflictWalkRangeNoClash)") µs | | | | |
| 2 | Conflict walk, 32 entries asked about and deleted for a 32-port range | $(us "$(wall ConflictWalkEveryEntryAsked)") µs | $(us "$(cpu ConflictWalkEveryEntryAsked)") µs | | | | |
| 3 | Board choice and message, 4,096 boards, 100 rows | $(fmt "$(wall BoardChoiceAndMessage)" 2) ms | $(fmt "$(cpu BoardChoiceAndMessage)" 2) ms | | | under 50 ms | $(verdict "$(wall BoardChoiceAndMessage)" "$(cpu BoardChoiceAndMessage)" 50) |
| 4 | A 30-second wait for silent boards | $(fmt "$wait_wall" 1) s | $(fmt "$wait_cpu" 3) s: $(fmt "$wait_percent" 3) % of one core | | | under 0.5 % | $(verdict "$wait_percent" "$wait_percent" 0.5) |
| 5 | Start-up to the main window, built-in configuration | $(fmt "$builtin_1" 1) ms | $(fmt "$builtin_2" 1) ms | bare Qt dialog: $(fmt "$bare_1" 1) ms, $(fmt "$bare_2" 1) ms | $(ratio "$builtin_1" "$bare_1") x, $(ratio "$builtin_2" "$bare_2") x | at most 1.25 x | $(verdict "$(ratio "$builtin_1" "$bare_1")" "$(ratio "$builtin_2" "$bare_2")" 1.25) |
| 5 | Start-up to the main window, largest configuration (100 levels, 200 boards) | $(fmt "$largest_1" 1) ms | $(fmt "$largest_2" 1) ms | bare Qt dialog, as above | $(ratio "$largest_1" "$bare_1") x, $(ratio "$largest_2" "$bare_2") x | | |

| # | Peak memory (max RSS) to the main window | tavora | Bare Qt dialog | Ratio | Goal | |
|---|---|---|---|---|---|---|
| 5 | Built-in configuration | $(mib "$builtin_3") | $(mib "$bare_3") | $(ratio "$builtin_3" "$bare_3") x | at most 1.2 x | $(verdict "$(ratio "$builtin_3" "$bare_3")" "$(ratio "$builtin_3" "$bare_3")" 1.2) |
| 5 | Largest configuration | $(mib "$largest_3") | $(mib "$bare_3") | $(ratio "$largest_3" "$bare_3") x | | |

| # | Exit and idle (Qt offscreen, tav-boards running) | Built-in configuration | Configuration file | Goal | |
|---|---|---|---|---|---|
| 6 | File > Exit to the end of the process (median of $runs) | $(fmt "$exit_builtin" 1) ms | $(fmt "$exit_file" 1) ms | at most 100 ms | $(verdict "$exit_slower" "$exit_slower" 100) |
| 7 | System calls in 10 idle seconds, every thread | $idle_builtin_calls ($idle_builtin_what) | $idle_file_calls ($idle_file_what) | none | $(idle_verdict) |
TABLE
