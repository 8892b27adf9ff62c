#!/usr/bin/env bash
# An idle reader's cost: CPU time and wake-ups (context switches) of the program over a
# few seconds of doing nothing, headless during a script's `wait` and in its window
# under a private X server. Prints one line per display.
# Usage: idle.sh PATH-TO-VINTREL [SECONDS] [WORK-FOLDER]
set -euo pipefail
program=$1
seconds=${2:-10}
source "$(dirname "$0")/../../tests/support/e2e.sh"
start_in "${3:-$(mktemp -d)/idle}"

# The process's CPU time in nanoseconds and its context switches, summed over its threads.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { print sum }'; }
switches() {
  cat /proc/"$1"/task/*/status |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { sum += $2 } END { print sum }'
}

# measure NAME PID: settles for two seconds, then samples for $seconds.
measure() {
  local name=$1 pid=$2 cpu0 cs0 cpu1 cs1
  sleep 2
  cpu0=$(cpu_ns "$pid") cs0=$(switches "$pid")
  sleep "$seconds"
  cpu1=$(cpu_ns "$pid") cs1=$(switches "$pid")
  awk -v n="$name" -v s="$seconds" -v c=$((cpu1 - cpu0)) -v w=$((cs1 - cs0)) 'BEGIN {
    printf "%-9s idle %ds: CPU %.1f ms (%.3f%% of a core), %d wake-ups (%.1f a second)\n",
      n, s, c / 1e6, c / 1e7 / s, w, w / s }'
}

printf 'wait %d\n' $(((seconds + 4) * 1000)) > "$work/idle.script"
"$program" --headless --script "$work/idle.script" > "$work/headless.out" 2>&1 &
headless=$!
measure headless "$headless"
kill "$headless"
wait "$headless" 2> /dev/null || true

start_xvfb
"$program" > "$work/window.out" 2>&1 &
window=$!
wait_for_window 'Vintrel' > /dev/null
measure window "$window"
kill "$window"
wait "$window" 2> /dev/null || true
