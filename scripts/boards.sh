# Sourced by run.sh: start_boards BINARY LOG starts the simulated router boards in the background
# and sets boards_pid. tav-boards prints its first line once its ports are bound, or ends at once
# with the reason (another tav-boards holds the port, a configuration that does not load); that
# reason is reported and start_boards returns 1 with boards_pid empty.
start_boards() {
  local binary="$1" log="$2"
  boards_pid=""
  "$binary" >"$log" 2>&1 &
  local pid=$!
  local ready="^tav-boards: .* boards of"
  for _ in $(seq 50); do
    if ! kill -0 "$pid" 2>/dev/null || grep -q "$ready" "$log"; then
      break
    fi
    sleep 0.1
  done
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" 2>/dev/null || true
    echo "The simulated router boards did not start:" >&2
    sed 's/^/  /' "$log" >&2
    return 1
  fi
  boards_pid=$pid
  if grep -q "$ready" "$log"; then
    echo "Simulated router boards started (log: $log)."
  else
    echo "The simulated router boards have not said they are ready yet (log: $log)." >&2
  fi
}
