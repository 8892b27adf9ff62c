#!/usr/bin/env bash
# One copy under a burst: the real program, headless, runs and is made busy (stopped);
# 60 more copies are started together against it and it is let go. Every later copy
# hands over and ends with 0 without opening a window of its own, and the first still
# runs and answers afterwards.
# Usage: instance_burst_e2e.sh PATH-TO-VINTREL WORK-FOLDER
set -u
program=$1
source "$(dirname "$0")/../support/e2e.sh"
start_in "$2"
copies=60
socket="$XDG_RUNTIME_DIR/$(basename "$program")-headless.socket"

printf 'windows\nwait 120000\n' > "$work/first.script"
"$program" --headless --script "$work/first.script" > "$work/first.out" 2> "$work/first.err" &
first=$!
wait_for_line "$work/first.out" '^end$' > /dev/null || fail "the first copy did not start"

# A later copy that started on its own would list its windows.
printf 'windows\nquit\n' > "$work/later.script"
kill -STOP "$first"
pids=()
for i in $(seq "$copies"); do
  timeout 60 "$program" --headless --script "$work/later.script" \
    > "$work/later.$i.out" 2> "$work/later.$i.err" &
  pids+=($!)
done
sleep 1
kill -CONT "$first"

failed=0
for i in $(seq "$copies"); do
  wait "${pids[$((i - 1))]}" || failed=$((failed + 1))
done
[ "$failed" -eq 0 ] || fail "$failed of $copies later copies did not end with 0"
survivors=$(grep -l '^window ' "$work"/later.*.out | wc -l)
[ "$survivors" -eq 0 ] || fail "$survivors of $copies later copies ran on their own"
echo "burst of $copies: $((survivors + 1)) running after it"

kill -0 "$first" 2> /dev/null || fail "the first copy ended"
run after "windows\nquit"
grep -q '^window ' "$work/after.out" && fail "a copy after the burst ran on its own"

kill -TERM "$first"
wait "$first" || fail "the first copy exited with $?"
[ -e "$socket" ] && fail "the first copy left its socket file behind"

# A copy whose running copy dies while it asks asks again, finds nobody, and becomes the
# running copy itself; the next copy hands over to it.
"$program" --headless --script "$work/first.script" > "$work/dying.out" 2>&1 &
dying=$!
wait_for_line "$work/dying.out" '^end$' > /dev/null || fail "the dying copy did not start"
kill -STOP "$dying"
printf 'windows
wait 120000
' > "$work/heir.script"
"$program" --headless --script "$work/heir.script" > "$work/heir.out" 2> "$work/heir.err" &
heir=$!
sleep 0.5
kill -KILL "$dying"
wait "$dying" 2> /dev/null
wait_for_line "$work/heir.out" '^end$' > /dev/null || fail "the copy did not take over"
run after_heir "windows\nquit"
grep -q '^window ' "$work/after_heir.out" && fail "a copy ran beside the one that took over"
kill -TERM "$heir"
wait "$heir" || fail "the copy that took over exited with $?"
finish "single instance under a burst"
