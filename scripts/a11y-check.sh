#!/usr/bin/env bash
# The accessibility check on a real X server: starts Xvfb, a D-Bus session with the desktop's
# accessibility bus (at-spi2-core) and the simulated boards, then scripts/a11y-walk.py starts
# Tavora (Qt's xcb platform, its accessibility on) as often as it needs, drives it through every
# window and lists the controls a screen reader would find without a name. Exit status 0 when
# there are none.
# A11Y_DISPLAY (default :21) is the X display it uses; it must be free. TAV_BUILD (default build)
# is the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh a11y
build="${TAV_BUILD:-build}"
cmake --build "$build" --target tavora tav-boards

display="${A11Y_DISPLAY:-:21}"
number="${display#:}"
if [ -e "/tmp/.X11-unix/X$number" ]; then
  echo "a11y-check: display $display is in use; choose another with A11Y_DISPLAY" >&2
  exit 2
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/tavora-a11y-XXXXXX")
pids=()
xvfb=""
dbus=""
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null || true
    wait "${pids[$i]}" 2>/dev/null || true
  done
  # The accessibility bus and its registry, which our session bus started: ended while it still
  # runs, so that it reaps them.
  if [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    for proc in /proc/[0-9]*; do
      case "$(cat "$proc/comm" 2>/dev/null)" in
        at-spi-bus-laun* | at-spi2-regist*)
          if tr '\0' '\n' <"$proc/environ" 2>/dev/null |
              grep -qxF "DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS"; then
            kill "${proc#/proc/}" 2>/dev/null || true
          fi
          ;;
      esac
    done
    sleep 0.5
  fi
  if [ -n "$dbus" ]; then
    kill "$dbus" 2>/dev/null || true
    wait "$dbus" 2>/dev/null || true
  fi
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# The built-in router on ports of this display's own, with board 2 (MAINVID's partner) silent
# and the first file listing failing, so that the warning and the error window appear too.
port=$((52000 + 2 * number))
"$build/programs/tav-boards/tav-boards" --built-in-config | python3 -c '
import json, sys
config = json.load(sys.stdin)
port = int(sys.argv[1])
config["rebootPort"], config["statusPort"] = port, port + 1
config["boards"][2]["behaviour"] = "silent"
config["faults"] = [{"component": "FileAccess", "operation": "FindFirst",
                     "hresult": "0x80040203", "times": 1}]
json.dump(config, sys.stdout, indent=2)
' "$port" > "$work/router.json"
mkdir -p "$work/data" "$work/run" "$work/state"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" XDG_STATE_HOME="$work/state" XDG_CACHE_HOME="$work/cache"
export TAVORA_CONFIG="$work/router.json" TAVORA_DATA_DIR="$work/data" TAVORA_AUDIT_JOURNAL=off
export DISPLAY="$display"

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done

dbus-daemon --session --nofork --address="unix:path=$work/bus" --print-address=1 \
  >"$work/dbus.address" 2>"$work/dbus.log" &
dbus=$!
for _ in $(seq 50); do [ -s "$work/dbus.address" ] && break; sleep 0.1; done
DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/dbus.address")
export DBUS_SESSION_BUS_ADDRESS
# Start the accessibility bus before Tavora looks for it.
/usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0).childCount'

"$build/programs/tav-boards/tav-boards" --config "$work/router.json" >"$work/boards.log" 2>&1 &
pids+=($!)

# The walk starts each Tavora itself (the one whose status port is taken, the one it walks, a
# second copy) and ends every one it started; their output goes to $work/tavora-*.log.
status=0
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 A11Y_TAVORA="$build/programs/tavora/tavora" \
  A11Y_WORK="$work" /usr/bin/python3 scripts/a11y-walk.py || status=$?
for log in "$work"/tavora-*.log; do
  if [ -s "$log" ]; then
    echo "Tavora's messages ($(basename "$log" .log)):"
    cat "$log"
  fi
done
exit $status
