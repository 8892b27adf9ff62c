#!/usr/bin/env bash
# Reading as a user does: the real program, headless, on 1 Nisan 5765 (lesson 144), paged
# by keys, taps and the scroll bar, stepped by the tool bar and the keys, bookmarked and
# reversed from the "Go" menu; the settings and screenshots are read back after each run.
# Usage: reader_e2e.sh PATH-TO-VINTREL WORK-FOLDER
set -u
program=$1
source "$(dirname "$0")/../support/e2e.sh"
start_in "$2"
run_day=2005-04-10

# Where the bottom bar's buttons and the scroll bar's arrow are on the 240x320 screen.
go="tap 15 307"
previous="tap 43 307"
today="tap 67 307"
next="tap 91 307"
line_down="tap 233 313"

shot() { echo "screenshot $work/$1.png"; }

# A reader who has chosen a font: no font dialog at the start.
face='"FontName"="DejaVu Sans"\r\n'
write_settings "$face"

# Paging by keys moves the text, and the next start opens at the same line.
run paging "$(shot top)\nkey PageDown PageDown Down\n$(shot paged)\nquit" ||
  fail "paging run exited with $?: $(cat "$work/paging.err")"
position=$(value LastPosition)
[ "$position" != "dword:00000000" ] || fail "paging left LastPosition at 0"
cmp -s "$work/top.png" "$work/paged.png" && fail "paging did not change the screen"
run restart "$(shot again)\nquit"
cmp -s "$work/paged.png" "$work/again.png" || fail "the restart did not open at the same line"
expect_value LastPosition "$position" "restart"

# Home goes back to the top; End and Up leave the text one line above its end.
run home "key Home\n$(shot home)\nquit"
cmp -s "$work/top.png" "$work/home.png" || fail "Home did not return to the top"
expect_value LastPosition dword:00000000 "Home"
run end "key End\nquit"
last=$(value LastPosition)
[ "$last" != "dword:00000000" ] || fail "End did not move"
run end_twice "key Home End End\nquit"
expect_value LastPosition "$last" "End twice"

# The menu's shortcut labels are text only: the keys do nothing, Ctrl+Home acts as Home.
run shortcuts "key PageDown\nkey Ctrl+F Ctrl+D Ctrl+Q F3 Alt+F3\nwindows\nquit"
[ "$(grep -c '^window ' "$work/shortcuts.out")" = 3 ] ||
  fail "a shortcut key opened a window: $(cat "$work/shortcuts.out")"
[ "$(value LastPosition)" != "dword:00000000" ] || fail "a shortcut key moved the text"
run ctrl_home "key Ctrl+Home\nquit"
expect_value LastPosition dword:00000000 "Ctrl+Home"

# Taps: the lower half pages forward, the upper half back; the scroll bar's arrow moves
# one line.
run tap_lower "key Home\ntap 120 250\nquit"
paged_by_tap=$(value LastPosition)
[ "$paged_by_tap" != "dword:00000000" ] || fail "a tap in the lower half did not page"
run tap_upper "tap 120 40\nquit"
expect_value LastPosition dword:00000000 "a tap in the upper half"
run arrow_down "$line_down\n$line_down\nquit"
expect_value LastPosition dword:00000002 "two taps on the scroll bar's down arrow"
run thumb "key Home\ndrag 233 46 233 200\nquit"
dragged=$(value LastPosition)
[ "$dragged" != "dword:00000000" ] || fail "dragging the scroll bar's thumb did not move the text"
run track "tap 233 250\nquit"  # the track below the thumb: a page forward
[ "$(value LastPosition)" \> "$dragged" ] || fail "a tap on the scroll bar's track did not page"
run back_home "key Home\nquit"

# Lessons: the tool bar and the arrow keys step through them, 267 wraps to 1; Today
# drops the choice.
run steps "$next\n$next\n$previous\nquit"
expect_value Lesson dword:00000091 "Next, Next, Previous"
expect_value Flags dword:d1140044 "a chosen lesson"
expect_value LastPosition dword:00000000 "a new lesson"
run today "$today\nquit"
expect_value Lesson dword:00000090 "Today"
expect_value Flags dword:d1140040 "Today"
write_settings "$face"'"Flags"=dword:d1140044\r\n"Lesson"=dword:0000010b\r\n'
run right_from_last "key Right\nquit"
expect_value Lesson dword:00000001 "Right from 267"
run left_from_first "key Left\nquit"
expect_value Lesson dword:0000010b "Left from 1"
run back_to_today "$today\nquit"

# Bookmark from the menu; removing it asks first (No keeps it, Yes removes it).
run bookmark "$go\ntext b\nquit"
expect_value Bookmarks hex:90,00,00,00 "bookmarked"
run bookmark_no "$go\ntext b\nwindows\nkey Tab Return\nquit"
grep -q 'window class="MessageBox" title="Bookmark"' "$work/bookmark_no.out" ||
  fail "removing a bookmark asked nothing"
expect_value Bookmarks hex:90,00,00,00 "answered No"
run bookmark_yes "$go\ntext b\nkey Return\nquit"
expect_value Bookmarks hex:00,00 "answered Yes"

# Reverse from the menu mirrors the text of a font that keeps Hebrew at 224 (a Unicode
# font places its letters one by one, in the stored order either way); twice restores it.
write_settings "$face"'"FontAsciiBase"=dword:000000e0\r\n'
run reverse "$(shot plain)\n$go\ntext v\n$(shot reversed)\nquit"
expect_value Flags dword:d1140840 "Reverse"
cmp -s "$work/plain.png" "$work/reversed.png" && fail "Reverse did not change the screen"
run reverse_twice "$go\ntext v\n$(shot restored)\nquit"
expect_value Flags dword:d1140040 "Reverse twice"
cmp -s "$work/plain.png" "$work/restored.png" || fail "Reverse twice did not restore the screen"

# Exit from the menu writes the settings as the system's close does.
run exit "key PageDown\n$go\ntext x\nwait 200" || fail "Exit run exited with $?"
[ "$(value LastPosition)" != "dword:00000000" ] || fail "Exit did not write the position"

finish "reader end-to-end"
