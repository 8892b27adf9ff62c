#!/usr/bin/env bash
# Termination signals as a user sends them (Ctrl-C, kill, a closed session): the real
# program, headless and then in its window under a private X server, ends as the
# system's close would, so the settings file holds the lesson and line it reached and
# the socket file is gone; a second signal while it is closing ends it at once.
# Usage: signals_e2e.sh PATH-TO-VINTREL WORK-FOLDER
set -u
program=$1
source "$(dirname "$0")/../support/e2e.sh"
start_in "$2"
# Programs started in the background get the signals' default actions, as from a
# terminal (without job control a shell starts them with SIGINT ignored).
set -m

socket="$XDG_RUNTIME_DIR/$(basename "$program")-headless.socket"
moves="key Right\nkey PageDown PageDown"

# A settings file with a face chosen, so no first-run font choice stands before the keys.
chosen_font() { rm -rf "$XDG_CONFIG_HOME"; write_settings '"FontName"="DejaVu Sans"\r\n'; }


# The place the moves reach, as the script's quit leaves it.
chosen_font
run reference "$moves\nquit" || fail "the reference run exited with $?"
lesson=$(value Lesson)
position=$(value LastPosition)
[ "$position" != "dword:00000000" ] || fail "the moves did not move the text"

# start_headless NAME: the program on the moves and a long wait, in the background
# ($pid); returns once the moves have run.
start_headless() {
  chosen_font
  printf '%b\nwindows\nwait 60000\n' "$moves" > "$work/$1.script"
  "$program" --headless --script "$work/$1.script" > "$work/$1.out" 2> "$work/$1.err" &
  pid=$!
  wait_for_line "$work/$1.out" '^end$' > /dev/null || fail "$1: the moves never ran"
}

# await_end SECONDS: waits that long at most for $pid to end (killing it after); its
# exit status in $status.
await_end() {
  for _ in $(seq $((20 * $1))); do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.05
  done
  kill -9 "$pid" 2> /dev/null && echo "still running after $1 s: killed"
  wait "$pid" 2> /dev/null
  status=$?
}

# expect_place WHAT: the settings file holds the lesson and line the moves reached.
expect_place() {
  expect_value Lesson "$lesson" "$1"
  expect_value LastPosition "$position" "$1"
}

for signal in INT TERM HUP; do
  start_headless "headless_$signal"
  [ -S "$socket" ] || fail "SIG$signal: no socket while running"
  kill -s "$signal" "$pid"
  await_end 20
  [ "$status" = 0 ] || fail "SIG$signal: exited with $status: $(cat "$work/headless_$signal.err")"
  expect_place "SIG$signal"
  [ -e "$socket" ] && fail "SIG$signal: the socket file was left behind"
done

# A second signal while the exit save waits for the settings lock ends the program at
# once, as that signal does, without touching the file; its socket file goes too.
start_headless second
cp "$settings" "$work/settings.before"
flock "$settings.lock" sleep 60 > /dev/null 2>&1 &
holder=$!
sleep 0.3
kill -TERM "$pid"
sleep 0.5
kill -0 "$pid" 2> /dev/null || fail "the first signal did not wait for the lock"
kill -TERM "$pid"
await_end 5
kill -- -"$holder"  # flock and its sleep: a job of its own
wait "$holder" 2> /dev/null
set +m  # the jobs that follow end without a notice
[ "$status" = 143 ] || fail "after a second SIGTERM: exited with $status, expected 143"
cmp -s "$settings" "$work/settings.before" || fail "the forced end changed the settings"
[ -e "$socket" ] && fail "the forced end left the socket file behind"

# In the window: the same keys, then SIGTERM. Without an X server to run it on, what
# was tested headless still counts.
for tool in Xvfb xdotool import identify; do
  command -v "$tool" > /dev/null || { echo "window part skipped: no $tool"; finish "signals end-to-end"; }
done
start_xvfb
chosen_font
"$program" > "$work/window.out" 2>&1 &
pid=$!
window=$(wait_for_window '^Vintrel') || fail "no window"
sleep 0.5
xdotool key --window "$window" Right Next Next
sleep 1  # the keys reach the program
kill -TERM "$pid"
await_end 20
[ "$status" = 0 ] || fail "in the window, SIGTERM: exited with $status: $(cat "$work/window.out")"
expect_place "in the window"
[ -e "${socket%-headless.socket}.socket" ] && fail "in the window: the socket file was left behind"

finish "signals end-to-end"
