#!/usr/bin/env bash
# Searching as a user does, headless on the sample edition: Go -> Search opens the
# dialog with the stored pattern; the letter keyboard's taps fill the field right to
# left; OK shows the next match in another lesson, highlighted, with the lesson's banner;
# Search Again from the tool bar, the Go menu and Enter go on, through the same lessons as
# vintrel-book search lists; a pattern found nowhere says "Not Found!" and keeps the
# dialog open; a word typed as text, and * and ? from the input panel, search as tapped;
# the pattern survives a restart. Then once in the window under a private X server.
# Usage: search_e2e.sh PATH-TO-VINTREL PATH-TO-VINTREL-BOOK WORK-FOLDER
set -u
program=$1
book_tool=$2
source "$(dirname "$0")/../support/e2e.sh"
start_in "$3"

shot() { echo "screenshot $work/$1.png"; }

# colours PNG X Y W H: the colours in that part of a screenshot, "#RRGGBB" one a line.
colours() {
  convert "$1" -crop "$4x$5+$2+$3" -format %c histogram:info: | grep -o '#[0-9A-F]\{6\}'
}
# has_colour PNG X Y W H COLOUR
has_colour() { colours "$1" "$2" "$3" "$4" "$5" | grep -qx "$6"; }

# The banner's frames (red, white, blue) around yellow, at the bottom of the view; the
# highlight, blue on yellow, on the top line.
expect_banner() {
  local png="$work/$1.png" colour
  for colour in '#FF0000' '#0000FF' '#FFFF00'; do
    has_colour "$png" 110 262 20 32 "$colour" || fail "$1: no banner ($colour missing)"
  done
}
expect_highlight_on_top() {
  has_colour "$work/$1.png" 0 27 226 16 '#FFFF00' || fail "$1: no highlight on the top line"
}

# Screen places on the 240x320 screen: the bar, the Go menu's search items, the dialog's
# caption button and the input panel's button, the panel's * and ?.
go="tap 15 307"
search="$go\ntap 93 238"
search_again_menu="$go\ntap 93 257"
search_again_bar="tap 161 307"
ok="tap 197 67"
panel="tap 215 307"
star="tap 170 286"
question="tap 190 286"

# The letter keyboard stands at (35, 194): key k is in row (k-1)/9 and column 8-(k-1)%9
# of its 17x25 cells, the space bar below them.
key() {
  local k=$1
  echo "tap $((35 + (8 - (k - 1) % 9) * 17 + 8)) $((194 + (k - 1) / 9 * 25 + 12))"
}
alef=$(key 1) bet=$(key 2) gimel=$(key 3) vav=$(key 6) kaf=$(key 11) lamed=$(key 13)
final_mem=$(key 15) samekh=$(key 18) shin=$(key 26)

# A reader who has chosen a font, at the top of lesson 1.
settings_at_lesson_1='"FontName"="DejaVu Sans"\r\n"Flags"=dword:d1140044\r\n"Lesson"=dword:00000001\r\n'
write_settings "$settings_at_lesson_1"

# Alef, bet, gimel tapped stand in the field right to left; found nowhere, "Not Found!"
# with the caption, and after it the dialog is still open with the whole field selected.
run not_found "$search\n$(shot dialog)\n$alef\n$bet\n$gimel\nwindows\n$ok\nwindows\nkey Return\nwindows\nquit"
field() { grep -m"$2" 'id=1013' "$work/$1.out" | tail -n1; }
field not_found 1 | grep -q 'text="גבא" .*sel=0,0' ||
  fail "alef, bet, gimel: $(field not_found 1)"
grep -q 'window class="MessageBox" title="Vintrel - 5765 (heb)" .*text="Not Found!"' "$work/not_found.out" ||
  fail "no Not Found! box: $(cat "$work/not_found.out")"
field not_found 3 | grep -q 'text="גבא" .*sel=0,3' ||
  fail "after Not Found! the dialog is not open with its field selected: $(field not_found 3)"
expect_value SearchString hex:63,62,61,00 "alef, bet, gimel"
expect_value Lesson dword:00000001 "nothing found"
# The keyboard's cells stand where the hit test counts them: the grid lines.
for x in 35 52 188; do
  has_colour "$work/dialog.png" "$x" 200 1 10 '#000000' || fail "no grid line at x=$x"
  has_colour "$work/dialog.png" "$((x + 1))" 200 1 1 '#FFFFFF' || fail "no key cell right of x=$x"
done

# Shin, lamed, vav, final mem: the first match of the word is in lesson 4, shown with its
# line at the top, highlighted, and its banner.
run found "$search\n$shin\n$lamed\n$vav\n$final_mem\nwindows\n$ok\n$(shot found)\nwindows\nquit"
field found 1 | grep -q 'text="םולש"' || fail "shin, lamed, vav, final mem: $(field found 1)"
grep -q 'class="Dialog"' <(sed -n '/^end$/,$p' "$work/found.out") && fail "the dialog stayed open"
expect_value SearchString hex:6e,66,6d,7a,00 "shalom"
expect_value Lesson dword:00000004 "the first match"
expect_highlight_on_top found
expect_banner found
first_position=$(value LastPosition)

# The lessons vintrel-book search lists for the word, one a match.
"$book_tool" search "שלום" > "$work/tool.out" 2> "$work/tool.err" || fail "vintrel-book search: $?"
mapfile -t listed < <(cut -f1 "$work/tool.out")
[ "${#listed[@]}" -gt 12 ] || fail "vintrel-book listed only ${#listed[@]} matches"

# Search Again, each way: the tool bar, the Go menu, Enter; every way shows the banner.
write_settings "$settings_at_lesson_1"'"SearchString"=hex:6e,66,6d,7a,00\r\n'
run again "key Return\n$search_again_bar\n$(shot bar)\n$search_again_menu\n$(shot menu)\nkey Return\n$(shot enter)\nquit"
expect_value Lesson "dword:$(printf %08x "${listed[3]}")" "the fourth match"
for way in bar menu enter; do expect_banner "$way"; expect_highlight_on_top "$way"; done

# Enter step by step follows the tool's list: each match in its lesson, the lesson after
# its last match next.
steps=""
for n in $(seq 1 12); do
  steps="$steps\nkey Return"
  write_settings "$settings_at_lesson_1"'"SearchString"=hex:6e,66,6d,7a,00\r\n'
  run "enter_$n" "$steps\nquit"
  expect_value Lesson "dword:$(printf %08x "${listed[$((n - 1))]}")" "match $n"
done

# The pattern survives the restart: the dialog opens with it, selected.
run restart "$search\nwindows\nquit"
field restart 1 | grep -q 'text="םולש" .*sel=0,4' || fail "after a restart: $(field restart 1)"

# A word typed as text goes in as the same letters tapped, and finds the same match.
write_settings "$settings_at_lesson_1"
run typed "$search\ntext שלום\nwindows\n$ok\nquit"
field typed 1 | grep -q 'text="םולש"' || fail "typed: $(field typed 1)"
expect_value SearchString hex:6e,66,6d,7a,00 "typed"
expect_value LastPosition "$first_position" "typed"

# * and ? from the input panel: shin ? vav * final mem, first found where vintrel-book
# finds it first.
write_settings "$settings_at_lesson_1"
wildcard_lesson=$("$book_tool" search "ש?ו*ם" 2> /dev/null | head -n1 | cut -f1)
run wildcards "$search\n$shin\n$panel\n$question\n$panel\n$vav\n$panel\n$star\n$panel\n$final_mem\nwindows\n$ok\nwindows\nquit"
field wildcards 1 | grep -q 'text="ם\*ו?ש"' || fail "wildcards: $(field wildcards 1)"
expect_value SearchString hex:6e,2a,66,3f,7a,00 "wildcards"
expect_value Lesson "dword:$(printf %08x "$wildcard_lesson")" "wildcards"
grep -q "class=\"MessageBox\"" "$work/wildcards.out" && fail "wildcards: nothing found"

# Once in the window under a private X server, at the program's zoom of 2.
for tool in Xvfb xdotool import identify; do
  command -v "$tool" > /dev/null || { echo "window part skipped: no $tool"; finish "search end-to-end"; }
done
start_xvfb
write_settings "$settings_at_lesson_1"
"$program" > "$work/window.out" 2>&1 &
pid=$!
window=$(wait_for_window '^Vintrel') || fail "no window"
click() { xdotool mousemove --window "$window" $(($1 * 2 + 1)) $(($2 * 2 + 1)) click 1; sleep 0.3; }
sleep 0.5
click 15 307
click 93 238
for k in 26 13 6 15; do
  read -r _ x y <<< "$(key "$k")"
  click "$x" "$y"
done
import -window "$window" "$work/window_dialog.png"
click 197 67
sleep 0.5
import -window "$window" "$work/window_found.png"
xdotool key --window "$window" Return
sleep 0.5
kill -TERM "$pid"
wait "$pid"
expect_value SearchString hex:6e,66,6d,7a,00 "in the window"
expect_value Lesson "dword:$(printf %08x "${listed[1]}")" "in the window, after Enter"
has_colour "$work/window_found.png" 0 54 452 32 '#FFFF00' || fail "in the window: no highlight"

finish "search end-to-end"
