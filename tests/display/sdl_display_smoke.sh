#!/usr/bin/env bash
# The SDL display in a real X window: keys, text, stylus, resize and the close button
# reach it as display events, and the window shows the picture it was given.
# Usage: sdl_display_smoke.sh PROBE SEND_WM_DELETE OUTPUT_DIR
set -euo pipefail
probe=$1 send_delete=$2
source "$(dirname "$0")/../support/e2e.sh"
start_in "$3"

# Without a display: one line naming --headless, exit code 1; whether SDL is left to
# choose its driver (it would fall back to an invisible one) or is told to use X.
for driver in "" x11; do
  expect_display_refusal "without a display (driver '$driver')" \
    ${driver:+SDL_VIDEODRIVER=$driver} "$probe"
done

start_xvfb

log="$work/events.log"
"$probe" >"$log" 2>&1 &
probe_pid=$!
window=$(wait_for_window '^SDL probe \(shell\)$')
wait_for_line "$log" '^ready'

check_screenshot "$window" "$work/sdl_probe.png"
read -r width height < <(identify -format '%w %h\n' "$work/sdl_probe.png")
[ "$width" -eq 480 ] && [ "$height" -eq 640 ] ||
  fail "window is ${width}x${height}, expected 480x640 (240x320 at zoom 2)"

xdotool key --window "$window" Page_Down
wait_for_line "$log" '^keydown key=0x22 mods=0'
xdotool key --window "$window" ctrl+f
wait_for_line "$log" '^keydown key=0x46 mods=2'
xdotool type --window "$window" 'a*'
wait_for_line "$log" '^char key=0x0 mods=0 ch=97 '
wait_for_line "$log" '^char key=0x0 mods=0 ch=42 '

xdotool mousemove --window "$window" 100 200 click 1
wait_for_line "$log" '^down .* x=50 y=100 '
wait_for_line "$log" '^up .* x=50 y=100 '

xdotool windowsize "$window" 600 400
wait_for_line "$log" '^resize .* size=300x200'

"$send_delete" "$window"
wait_for_line "$log" '^close'
wait "$probe_pid"
finish "SDL display smoke"
