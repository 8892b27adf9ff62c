#!/usr/bin/env bash
# The whole platform in a real X window: the program's window title names the SDL
# window, a key reaches the program, the window shows the shell and the program, a
# resized window resizes the program's window, and the close button ends the program.
# Usage: sdl_program_smoke.sh SHELL_APP SEND_WM_DELETE OUTPUT_DIR
set -euo pipefail
app=$1 send_delete=$2
source "$(dirname "$0")/../support/e2e.sh"
start_in "$3"

# Without a display the platform's main says so in one line naming --headless, exit 1.
expect_display_refusal "without a display" "$app"

start_xvfb

log="$work/program.log"
"$app" --zoom 2 /keys >"$log" 2>&1 &
app_pid=$!
window=$(wait_for_window '^Shell Test App$')
wait_for_line "$log" '^ready'
sleep 0.5  # let the first frame reach the window
check_screenshot "$window" "$work/program.png"

xdotool key --window "$window" Next
wait_for_line "$log" '^key 34$'
xdotool type --window "$window" 'q'
wait_for_line "$log" '^char 113$'

# 600 x 700 at zoom 2 is a 300 x 350 screen: the window fills it below the task bar
# (its client area less the scroll bar).
xdotool windowsize "$window" 600 700
wait_for_line "$log" '^size 2[0-9][0-9] 324$'  # less the scroll bar
sleep 0.5
check_screenshot "$window" "$work/program-resized.png"

"$send_delete" "$window"
set +e
wait "$app_pid"
status=$?
set -e
[ "$status" -eq 0 ] || fail "the program ended with $status after the close button"
finish "SDL program smoke"
