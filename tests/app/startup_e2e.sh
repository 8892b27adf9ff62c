#!/usr/bin/env bash
# The start-up as a user meets it: the real program, headless, on a fixed date, with a
# settings folder of its own; the settings file is read back after each run.
# Usage: startup_e2e.sh PATH-TO-VINTREL WORK-FOLDER
set -u
program=$1
source "$(dirname "$0")/../support/e2e.sh"
start_in "$2"

# First run on 1 Nisan 5765 (lesson 144), nothing stored.
run_day=2005-04-10
run first "quit" || fail "first run exited with $?: $(cat "$work/first.err")"
expect_value Flags dword:d1140040 "first run"
expect_value FontAsciiBase dword:000005d0 "first run"
expect_value Lesson dword:00000090 "first run"
expect_value Bookmarks hex:00,00 "first run"
grep -qi '^"FontName"=' "$settings" && fail "first run wrote a FontName"
grep -qi '^"Program Path"="/' "$settings" || fail "first run wrote no Program Path"

# A chosen lesson survives a restart on another day...
run_day=2005-03-01
write_settings '"Flags"=dword:d1140044\r\n"Lesson"=dword:00000005\r\n"LastPosition"=dword:00000007\r\n'
run chosen "quit" || fail "chosen lesson run exited with $?"
expect_value Lesson dword:00000005 "chosen lesson"
expect_value Flags dword:d1140044 "chosen lesson"

# ...until /today, in any letter case, takes today's lesson (20 Adar I: lesson 116).
for switch in /today /TODAY /ToDay; do
  write_settings '"Flags"=dword:d1140044\r\n"Lesson"=dword:00000005\r\n'
  run "switch_${switch#/}" "quit" "$switch" || fail "$switch run exited with $?"
  expect_value Lesson dword:00000074 "$switch"
  expect_value Flags dword:d1140040 "$switch"
done

# Anything after the switch leaves the command line unmatched.
write_settings '"Flags"=dword:d1140044\r\n"Lesson"=dword:00000005\r\n'
run today_and_more "quit" "/today" "x" || fail "'/today x' run exited with $?"
expect_value Lesson dword:00000005 "'/today x'"

# A chosen lesson outside the book starts and ends cleanly.
for lesson in 00000000 0000012c; do
  write_settings "\"Flags\"=dword:d1140044\r\n\"Lesson\"=dword:$lesson\r\n"
  run "outside_$lesson" "quit" || fail "stored lesson $lesson: exited with $?"
done

# Settings of the wrong type or size are read by the rules, never a crash.
write_settings '"Flags"="3506700356"\r\n"Lesson"=dword:00010001\r\n"FontSize"=""\r\n'
run odd "quit" || fail "odd settings: exited with $?"
expect_value Flags dword:d1040044 "odd settings"
expect_value Lesson dword:00000001 "odd settings"

# A second copy started while the first runs hands over and ends with 0, writing nothing.
rm -rf "$XDG_CONFIG_HOME"
printf 'wait 4000\nquit\n' > "$work/first_copy.script"
clock_at "2005-04-10 12:00:00"
"${clock[@]}" "$program" --headless --script "$work/first_copy.script" > /dev/null 2>&1 &
first=$!
for _ in $(seq 50); do [ -f "$settings" ] && break; sleep 0.1; done
cp "$settings" "$work/before" 2>/dev/null || fail "the first copy wrote no settings"
sleep 0.5
run second "quit"
status=$?
[ $status -eq 0 ] || fail "second copy exited with $status"
cmp -s "$settings" "$work/before" || fail "second copy changed the settings"
wait $first || fail "first copy exited with $?"
expect_value Lesson dword:00000090 "first copy after hand-over"

finish "startup end-to-end"
