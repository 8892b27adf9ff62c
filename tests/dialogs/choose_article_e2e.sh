#!/usr/bin/env bash
# The table of contents as a reader meets it: the real program, headless, on the sample
# edition with a settings folder of its own. Taps fall on the outline's lines; the
# lesson the program keeps at its end tells what the tap chose.
# Usage: choose_article_e2e.sh PATH-TO-VINTREL WORK-FOLDER
set -u
program=$1
source "$(dirname "$0")/../support/e2e.sh"
start_in "$2"

# Lesson 5 chosen, read from display line 3, in a Hebrew font of 16 units: the outline
# opens with the first section (its title at y 51 to 70 of the 240 x 320 screen),
# lessons 5 and 6 below it (16 pixels each), then the other sections (19 pixels each).
# reader_settings [PRODUCT-LINES [PUBLISHER-LINES]]
reader_settings() {
  local product="\"FontName\"=\"Miriam CLM\"\r\n\"FontSize\"=dword:00000010\r\n\"Lesson\"=dword:00000005\r\n\"Flags\"=dword:d1140044\r\n\"LastPosition\"=dword:00000003\r\n${1:-}"
  if [ $# -ge 2 ]; then write_settings "$product" "$2"; else write_settings "$product"; fi
}
go="tap 12 310"              # the menu bar's "Go"
index="tap 60 155"           # its Index item
bookmark="tap 60 174"        # its Bookmark item
contents="tap 187 307"       # the tool bar's Choose Article button
ok="tap 222 39"              # the caption's "ok"
lesson5="tap 180 78"         # titles on the opened outline
lesson6="tap 180 94"
mark2="tap 222 112"          # the second section's mark and title
title2="tap 180 112"
title3="tap 180 131"         # the third section's title, when the second is closed
line_after2="tap 180 129"    # the line after the second section's title
down_arrow="tap 233 312"     # the scroll bar's down arrow
top_line="tap 180 59"        # the first line of the page

# choose NAME EXPECTED-LESSON EXPECTED-POSITION WHAT SCRIPT-LINES: runs the lines and
# checks the lesson and reading position the program keeps.
choose() {
  run "$1" "$5\nquit" || fail "$4: exited with $?: $(cat "$work/$1.err")"
  expect_value Lesson "dword:$(printf %08x "$2")" "$4"
  expect_value LastPosition "dword:$(printf %08x "$3")" "$4"
}

while IFS='|' read -r name lesson position what lines; do
  reader_settings
  choose "$name" "$lesson" "$position" "$what" "$lines"
done <<CASES
menu|6|0|Go, Index, the next lesson|$go\n$index\nwindows\nscreenshot $work/index.png\n$lesson6
toolbar|6|0|the tool bar, the next lesson|$contents\n$lesson6
own|5|3|the current lesson's own title keeps the place|$contents\n$lesson5
ok|5|3|the caption's ok keeps the lesson|$contents\n$ok
cancel|5|3|Cancel keeps the lesson|$contents\nkey Escape
open|20|0|a section opened by its mark shows its lessons|$contents\n$mark2\nscreenshot $work/open.png\n$line_after2
close|40|0|closed by its title, the next section follows it|$contents\n$mark2\n$title2\n$title3\ntap 180 150
keys|6|0|two lines down by keys|$contents\nkey Down Down\n$top_line
bar|6|0|two lines down by the scroll bar|$contents\n$down_arrow\n$down_arrow\n$top_line
resize|20|0|a resize keeps the open section|$contents\n$mark2\nresize 240 400\nwindows\nscreenshot $work/resized.png\n$line_after2
CASES

grep -q 'window class="Dialog" title="Choose Section" rect=0,26,240,320 ok=208,30,236,48' \
  "$work/menu.out" || fail "menu: no Choose Section dialog over the work area: $(cat "$work/menu.out")"
grep -q 'window class="Dialog" title="Choose Section" rect=0,26,240,400 ' "$work/resize.out" ||
  fail "resize: the dialog does not follow the screen: $(grep Dialog "$work/resize.out")"
for shot in index open resized; do
  [ -s "$work/$shot.png" ] || fail "no screenshot $shot.png"
done

# Bookmarks 12 and 3 head the outline, each a line of 16 pixels below their heading.
reader_settings '"Bookmarks"=hex:0c,00,03,00,00,00\r\n'
choose bookmarks 12 0 "a bookmark opens its lesson" "$contents\nscreenshot $work/bookmarks.png\n$lesson5"
reader_settings '"Bookmarks"=hex:0c,00,03,00,00,00\r\n'
choose bookmarks3 3 0 "the second bookmark" "$contents\n$lesson6"

# In full-screen mode the dialog reaches the top of the screen.
reader_settings '' '"FullScreen"=dword:00000001\r\n'
run fullscreen "$contents\nwindows\nkey Escape\nquit" || fail "full screen: exited with $?"
grep -q 'window class="Dialog" title="Choose Section" rect=0,0,240,' "$work/fullscreen.out" ||
  fail "full screen: the dialog does not reach the top: $(grep Dialog "$work/fullscreen.out")"

# A message box's text is in the window list: the question before a bookmark goes.
reader_settings '"Bookmarks"=hex:05,00,00,00\r\n'
run question "$go\n$bookmark\nwindows\nkey Escape\nquit" || fail "question: exited with $?"
grep -qF 'window class="MessageBox" title="Bookmark" rect=21,115,219,231 text="Remove Bookmark?\n\nCancel - Don'"'"'t ask again"' \
  "$work/question.out" || fail "question: $(grep MessageBox "$work/question.out")"
expect_value Bookmarks "hex:00,00" "question: Cancel removes the bookmark"

finish "choose article end to end"
