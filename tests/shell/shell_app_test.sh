#!/usr/bin/env bash
# The shell seen from a program, on the in-memory screen: bar geometry, the "Go" menu,
# the tool-bar buttons' commands, the command bar of older systems, full-screen mode,
# and the hand-over between two copies of the program.
# Usage: shell_app_test.sh SHELL_APP OUTPUT_DIR
# Each test gets its own rendezvous folder (fresh_runtime), so it meets no other run.
set -uo pipefail
app=$1 out=$2
program=$app
source "$(dirname "$0")/../support/e2e.sh"
start_in "$out"

expect_line() {  # NAME PATTERN (extended regular expression, whole line)
  grep -Eq -- "^$2\$" "$out/$1.out" || fail "$1" "no line matching '$2' in $out/$1.out"
}

refuse_line() {
  if grep -Eq -- "^$2\$" "$out/$1.out"; then fail "$1" "unexpected line matching '$2'"; fi
}

rect_of() {
  grep -E -- "$2" "$out/$1.out" | head -n1 | sed -E 's/.*rect=(-?[0-9]+,-?[0-9]+,-?[0-9]+,-?[0-9]+).*/\1/'
}

# ---- Geometry of the task bar, the menu bar and the main window ----------------------------
fresh_runtime
run layout 'windows\n'
expect_line layout 'window class="HHTaskBar" title="" rect=0,0,240,26'
expect_line layout 'window class="MenuBar" title="" rect=0,294,2[0-9][0-9],320 buttons=8'
expect_line layout 'window class="Shell Test App" title="Shell Test App" rect=0,26,240,320'
expect_line layout '  button index=0 id=40001 text="Go" state=0x04 rect=0,294,[0-9]+,320'
if grep -q 'input-panel-button' "$out/layout.out"; then fail layout "input-panel button shown despite SHCMBF_HIDESIPBUTTON"; fi

# A larger screen: bars grow by whole multiples.
fresh_runtime
run vga 'windows\n' --screen 480x640
expect_line vga 'window class="HHTaskBar" title="" rect=0,0,480,52'
expect_line vga 'window class="MenuBar" title="" rect=0,588,4[0-9][0-9],640 buttons=8'

# ---- "Go" opens its popup upward; an item gives its command ---------------------------------
read -r gx gy < <(centre layout 'text="Go"')
fresh_runtime
run go_menu "tap $gx $gy\nwindows\n"
popup=$(rect_of go_menu 'class="MenuPopup"')
bar_top=$(rect_of layout 'class="MenuBar"' | cut -d, -f2)
if [ "$(echo "$popup" | cut -d, -f4)" != "$bar_top" ]; then
  fail go_menu "popup $popup does not end at the bar's top $bar_top"
fi
read -r tx ty < <(centre go_menu 'id=108 text="&Today"')
fresh_runtime
run go_item "tap $gx $gy\ntap $tx $ty\n"
expect_line go_item 'command 108'

# ---- Every tool-bar button gives its command, in order ---------------------------------------
taps=""
for index in 1 2 3 4 5 6 7; do
  read -r bx by < <(centre layout "button index=$index ")
  taps+="tap $bx $by\n"
done
fresh_runtime
run buttons "$taps"
grep '^command' "$out/buttons.out" | tr '\n' ' ' >"$out/buttons.commands"
if [ "$(cat "$out/buttons.commands")" != "command 110 command 108 command 109 command 40006 command 116 command 117 command 107 " ]; then
  fail buttons "commands were: $(cat "$out/buttons.commands")"
fi
# A tap beside the buttons (between the last one and the bar's end) gives nothing.
fresh_runtime
run beside_buttons "tap 215 307\n"
refuse_line beside_buttons 'command .*'

# ---- Older systems: the command bar at the top of the client area ----------------------------
fresh_runtime
VINTREL_OS_VERSION=4.20 run command_bar 'windows\n'
# Across the client area, which leaves out the window's scroll bar.
expect_line command_bar '  control class="CommandBar" id=1 text="" rect=0,26,2[0-9][0-9],52 buttons=8'
expect_line command_bar '    button index=0 id=0 text="Go" state=0x04 rect=0,26,[0-9]+,52'
if grep -q 'class="MenuBar"' "$out/command_bar.out"; then fail command_bar "a menu bar was made too"; fi
read -r cx cy < <(centre command_bar 'text="Go"')
read -r nx ny < <(centre command_bar 'button index=3 ')
fresh_runtime
VINTREL_OS_VERSION=4.20 run command_bar_go "tap $cx $cy\nwindows\n"
popup=$(rect_of command_bar_go 'class="MenuPopup"')
if [ "$(echo "$popup" | cut -d, -f2)" != "52" ]; then
  fail command_bar_go "popup $popup does not drop down from the bar's bottom 52"
fi
read -r tx ty < <(centre command_bar_go 'id=108 text="&Today"')
fresh_runtime
VINTREL_OS_VERSION=4.20 run command_bar_item "tap $cx $cy\ntap $tx $ty\ntap $nx $ny\n"
expect_line command_bar_item 'command 108'
expect_line command_bar_item 'command 109'

# ---- Full screen: no task bar, the window reaches the top ------------------------------------
fresh_runtime
run full_screen 'windows\n' /fullscreen
if grep -q 'class="HHTaskBar"' "$out/full_screen.out"; then fail full_screen "task bar still shown"; fi
expect_line full_screen 'window class="Shell Test App" title="Shell Test App" rect=0,0,240,320'

# ---- The input panel types into the focused edit field ------------------------------------------
fresh_runtime
run sip_button 'windows\n' /sip
read -r sx sy < <(centre sip_button 'input-panel-button')
fresh_runtime
run sip_open "tap $sx $sy\nwindows\n" /sip
panel=$(rect_of sip_open 'class="InputPanel"')
if [ -z "$panel" ]; then
  fail sip_open "no input panel after tapping its button"
else
  IFS=, read -r pl pt pr pb <<<"$panel"
  key_w=$(((pr - pl) / 12)) key_h=$(((pb - pt) / 5))
  key() { echo "tap $((pl + $1 * key_w + key_w / 2)) $((pt + $2 * key_h + key_h / 2))"; }
  # h, i, space, *, ?, shift then H, backspace (the last one goes), then the panel closes.
  fresh_runtime
  run sip_typing "tap $sx $sy\n$(key 5 2)\n$(key 7 1)\n$(key 4 4)\n$(key 8 4)\n$(key 9 4)\n$(key 0 4)\n$(key 5 2)\n$(key 11 4)\n$(key 2 1)\ntap $sx $sy\nwindows\n" /sip
  expect_line sip_typing '  control class="Edit" id=1013 text="hi \*\?E" rect=.*'
  if grep -q 'class="InputPanel"' "$out/sip_typing.out"; then fail sip_typing "the panel stayed up"; fi
fi

# ---- Two copies --------------------------------------------------------------------------------
# start_first NAME ARGS...: the first copy, kept running by a long wait; waits for "ready".
start_first() {
  local name=$1
  shift
  printf 'wait 20000\n' >"$out/$name.script"
  # No timeout wrapper: the script's wait ends it, and first_pid is the program itself.
  "$app" --headless --script "$out/$name.script" "$@" >"$out/$name.out" 2>&1 &
  first_pid=$!
  for _ in $(seq 1 200); do
    grep -q '^ready' "$out/$name.out" 2>/dev/null && return 0
    sleep 0.05
  done
  fail "$name" "the first copy never got ready"
}

stop_first() {
  kill "$first_pid" 2>/dev/null
  wait "$first_pid" 2>/dev/null
}

second() {  # NAME: the second copy, which hands over and ends
  printf 'quit\n' >"$out/$1.script"
  timeout 30 "$app" --headless --script "$out/$1.script" >"$out/$1.out" 2>&1
  echo "exit $?" >>"$out/$1.out"
}

wait_line() {  # NAME PATTERN: waits until the running copy prints the line
  for _ in $(seq 1 100); do
    grep -Eq -- "^$2\$" "$out/$1.out" && return 0
    sleep 0.05
  done
  fail "$1" "no line matching '$2'"
}

# Its main window in front: the running copy gets the Today command.
fresh_runtime
start_first first_front
second second_front
expect_line second_front 'handed over: command 108'
expect_line second_front 'exit 0'
refuse_line second_front 'ready'
wait_line first_front 'command 108'
stop_first

# Its own modal dialog in front: nothing happens, and the copy inside the dialog's loop
# still answers.
fresh_runtime
start_first first_dialog /dialog
wait_line first_dialog 'dialog open 0'
second second_dialog
expect_line second_dialog 'handed over: nothing 0'
sleep 0.3
refuse_line first_dialog 'command 108'
stop_first

# Another window in front: the running copy's window comes to the front, no command.
fresh_runtime
start_first first_other /other
before=$(grep -c '^activated' "$out/first_other.out")
second second_other
expect_line second_other 'handed over: to the front 0'
for _ in $(seq 1 100); do
  [ "$(grep -c '^activated' "$out/first_other.out")" -gt "$before" ] && break
  sleep 0.05
done
if [ "$(grep -c '^activated' "$out/first_other.out")" -le "$before" ]; then
  fail first_other "the main window was not activated"
fi
refuse_line first_other 'command 108'
stop_first

# A copy that crashed left its socket behind: the next copy runs normally.
fresh_runtime
start_first crashed
kill -9 "$first_pid"
wait "$first_pid" 2>/dev/null
if ! ls "$XDG_RUNTIME_DIR"/*.socket >/dev/null 2>&1; then fail crashed "no socket was left behind"; fi
run after_crash 'windows\n'
expect_line after_crash 'ready'
expect_line after_crash 'window class="Shell Test App" title="Shell Test App" rect=0,26,240,320'

# The task bar's clock turns to the next minute during a wait: the loop wakes for it.
fresh_runtime
run_day=2005-04-10
printf 'screenshot %s\nwait 2500\nscreenshot %s\n' "$out/minute_before.png" "$out/minute_after.png" \
  > "$out/minute.script"
clock_at "$run_day 12:00:58"
timeout 60 "${clock[@]}" "$app" --headless --script "$out/minute.script" \
  > "$out/minute.out" 2>&1 || fail minute "exited with $?"
unset run_day
cmp -s "$out/minute_before.png" "$out/minute_after.png" &&
  fail minute "the clock still showed the old minute at the wait's end"

# Two copies started at the same instant: exactly one runs, the other hands over.
fresh_runtime
printf 'wait 1500\n' >"$out/twin.script"
timeout 60 "$app" --headless --script "$out/twin.script" >"$out/twin_a.out" 2>&1 &
a=$!
timeout 60 "$app" --headless --script "$out/twin.script" >"$out/twin_b.out" 2>&1 &
b=$!
wait "$a" "$b"
ready=$(cat "$out/twin_a.out" "$out/twin_b.out" | grep -c '^ready')
handed=$(cat "$out/twin_a.out" "$out/twin_b.out" | grep -c '^handed over')
if [ "$ready" != 1 ] || [ "$handed" != 1 ]; then
  fail twins "$ready copies ran and $handed handed over"
fi

finish "shell program"
