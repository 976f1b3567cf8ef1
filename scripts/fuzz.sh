#!/usr/bin/env bash
# Builds the libFuzzer targets of the readers of outside input (RE-MAP messages, the configuration
# file, remap table lines, System Definition lines, board reports at the status port, scenario
# scripts, the data folder's names, Tavora's command line, the lines of text files) with clang in
# a build folder of their own and runs each for a bounded time (FUZZ_SECONDS, default 20) from a
# seed corpus of well-formed input. FUZZ_TARGETS chooses some of them (remap config remap_line
# sysdef_line board_report scenario_script data_names command_line text_file). FUZZ_RUNS, when
# set, runs each for that many executions instead (the long run of docs/fuzzing.md).
# Exits non-zero when a fuzzer finds a crash, a leak or an invariant broken; the input that did it
# is left in build-fuzz/artifacts/<target>/ (beside the build folder TAV_BUILD, default build).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TAV_BUILD:-$root/build}-fuzz"
seconds="${FUZZ_SECONDS:-20}"
targets="${FUZZ_TARGETS:-remap config remap_line sysdef_line board_report scenario_script data_names command_line text_file}"
runs="${FUZZ_RUNS:-}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DTAV_FUZZ=ON -DTAV_WITH_QT=OFF \
  -DTAV_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target $(for t in $targets; do printf "tav_%s_fuzz " "$t"; done)

# Seeds, written here so that they never go stale against the formats. RE-MAP: the worked
# example, two boards with output data, an emptied table, a refresh request and a report.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"/{remap,config,remap_line,sysdef_line,board_report,scenario_script,data_names,command_line,text_file}
printf 'RE-MAP\x02\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x01I\xcb\x2d\x03\x01\x00\x05\x00\x78' \
  >"$seeds/remap/worked-example"
printf 'RE-MAP\x02\x00\x00\x00\x00\x01\x02\x00\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00\x02O\x27\x12\x00\x02\x00\x01\x00\x10\x00\x00\x00\x02\x00\x11' \
  >"$seeds/remap/two-boards-output"
printf 'RE-MAP\x02\x00\x00\x00\x00\x04\x00\x00\x00\x00\x00\x00\x00O\x00\x00' >"$seeds/remap/emptied-table"
printf 'BRD-RFSH\xff\xff' >"$seeds/remap/refresh-all"
printf 'BRD-INFO\x00\x00\x01\x00\x2d\xcb\x00\x00\x00\x00' >"$seeds/remap/report"
cat >"$seeds/config/every-entry" <<'JSON'
{"rebootPort": 5150, "statusPort": 0, "activeSet": true, "activeSetCrc": "0x1234",
 "configSetChanging": false, "dataFolder": "data", "comment": [1, {"a": null}],
 "levels": [{"switcher": "MAIN", "level": "VIDEO", "inputs": 128, "outputs": 64, "board": 0},
            {"switcher": "MAIN", "level": "AUDIO1", "inputs": 32, "outputs": 32, "board": 1}],
 "boards": [{"name": "MAINVID", "address": "02:00:00:00:00:01", "type": "Q", "flag": 0,
             "remapInfo": [0,0,0,0,0,0,0,0], "behaviour": {"delayMs": 5}},
            {"name": "MAINVID", "address": [2,0,0,0,0,2], "type": "B", "flag": 1,
             "behaviour": "wrongCrc"}],
 "faults": [{"component": "FileAccess", "operation": "Open", "hresult": "E_FAIL", "after": 1,
             "times": 2, "description": "busy"},
            {"component": "COM", "operation": "CoInitialize", "hresult": "0x80004005"},
            {"component": "BoardStatusServer", "operation": "QueryInterface",
             "hresult": 2147500034, "interface": "BoardStatusEx"}]}
JSON
printf '14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,120,120,spare card\r' >"$seeds/remap_line/entry"
printf '14:05:09,March 03 2002,mixsw,xvid,1,0x5,7,120,122, ' >"$seeds/remap_line/hex-and-blank"
printf 'CONFIGCRC(-1)' >"$seeds/remap_line/checksum"
printf '    MAIN   VIDEO 128  64 01616 2 1  0  4 12  3 40  8' >"$seeds/sysdef_line/idle-ranges"
printf '  STUDIO  AUDIO19999   0 1 0 0 0 0' >"$seeds/sysdef_line/plain"
# Board reports: a board count, then datagrams, each after its length byte.
printf '\x04\x12BRD-INFO\x00\x02\x01\x00\x2d\xcb\x00\x00\x00\x00\x12BRD-INFO\x00\x09\x00\x00\x00\x00\x00\x00\x00\x00\x0aBRD-RFSH\xff\xff' \
  >"$seeds/board_report/reports-and-refresh"
printf '\x02\x12BRD-INFO\x00\x01\x01\x01\x12\x34\x56\x78\x00\x00\x12BRD-INFO\x00\x01\x00\x01\x00\x00\x56\x78\x00\x01' \
  >"$seeds/board_report/reported-twice"
cat >"$seeds/scenario_script/every-kind-of-line" <<'SCN'
# set-up lines, then actions and expectations
config router.json
board 1 silent
fault FileAccess Open E_FAIL after 1 times 2
msgbox caption="Load System Definition Table" icon=exclamation buttons=yesno -> no
window 102 "Tavora"
expect 1005 items "MAIN" "STUDIO"
type 1011 "spare \"card\"\tA\\B"
click 1019
exit 0
SCN
printf 'window 102 "Tavora"\r\n  \t# indented comment\r\nclick 1\r\n' >"$seeds/scenario_script/crlf"
printf 'type 1 "unterminated\n' >"$seeds/scenario_script/unterminated"
printf '*.IXT\0tav.ixt' >"$seeds/data_names/table-pattern"
printf 'TAV.?XT\0.TAV.IXT.tav-Ab12cD' >"$seeds/data_names/replacement"
printf '*.*\0SYSDEF' >"$seeds/data_names/no-extension"
printf -- '--version' >"$seeds/command_line/version"
printf -- '-h\0--help' >"$seeds/command_line/two"
# Text files: a remap table as written (CR LF), and lines on both sides of the 1024-byte buffer.
printf 'CONFIGCRC(0x1234)\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,120,120,spare card\r\n' \
  >"$seeds/text_file/remap-table"
{ head -c 1023 /dev/zero | tr '\0' M; printf '\n'; head -c 1500 /dev/zero | tr '\0' L; printf '\nAB'; } \
  >"$seeds/text_file/around-the-buffer"

status=0
for target in $targets; do
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  if [ -n "$runs" ]; then
    bound="-runs=$runs"
    echo "== $target: $runs executions"
  else
    bound="-max_total_time=$seconds"
    echo "== $target: ${seconds} s"
  fi
  case "$target" in
    remap | config) folder=platform/control/fuzz ;;
    remap_line) folder=remap/fuzz ;;
    sysdef_line) folder=sysdef/fuzz ;;
    board_report | data_names) folder=platform/control/fuzz ;;
    scenario_script) folder=programs/tav-scenario/fuzz ;;
    command_line) folder=programs/tavora/fuzz ;;
    text_file) folder=files/fuzz ;;
    *) echo "unknown fuzz target $target" >&2; exit 2 ;;
  esac
  "$build/$folder/tav_${target}_fuzz" \
    "$bound" -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "$seeds/$target" || status=1
done
exit "$status"
