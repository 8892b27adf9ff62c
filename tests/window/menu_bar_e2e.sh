#!/usr/bin/env bash
# The bars as a reader meets them: the real program, headless, with a settings folder of
# its own. The window list shows which bar was built; the Reverse item, chosen from the
# "Go" popup, reaches the stored Flags and back.
# Usage: menu_bar_e2e.sh PATH-TO-VINTREL WORK-FOLDER
set -u
program=$1
source "$(dirname "$0")/../support/e2e.sh"
start_in "$2"

# bar_settings FLAGS PUBLISHER-LINES [PRODUCT-LINES]: a font chosen (so no font dialog
# opens), the Flags, and the lines given for the publisher and the product key.
bar_settings() {
  write_settings "\"FontName\"=\"DejaVu Sans\"\r\n\"Flags\"=dword:$1\r\n${3:-}" "$2"
}

# Which bar, and the close button of the full-screen command bar.
while read -r version publisher expected close; do
  bar_settings d1140040 "$publisher"
  VINTREL_OS_VERSION=$version run bars "windows\nquit" ||
    fail "$version $publisher: exited with $?: $(cat "$work/bars.err")"
  grep -q "class=\"$expected\".*buttons=8" "$work/bars.out" ||
    fail "$version $publisher: no $expected with 8 buttons"
  if [ "$close" = yes ]; then
    grep -q "close-button" "$work/bars.out" || fail "$version $publisher: no close button"
  else
    grep -q "close-button" "$work/bars.out" && fail "$version $publisher: a close button"
  fi
done <<'CASES'
5.0 "MenuBarOnBottom"=dword:00000000\r\n MenuBar no
4.21 "FullScreen"=dword:00000001\r\n MenuBar no
4.20 "MenuBarOnBottom"=dword:00000000\r\n CommandBar no
4.20 "MenuBarOnBottom"=dword:00000001\r\n MenuBar no
4.20 "FullScreen"=dword:00000001\r\n CommandBar yes
CASES

# Screen points of the bottom bar on the 240 x 320 screen: the "Go" button, the
# Previous and Next buttons, and the Reverse item of the popup opened above the bar.
go="tap 12 310"
previous="tap 43 307"
next="tap 91 307"
reverse="tap 60 103"
reverse_item=$(resource_id IDM_REVERSE)
bookmark_item=$(resource_id IDM_BOOKMARK)
# checks RUN ITEM: the check marks of an item in each listing of the open popup, in order.
checks() { grep "id=$2 " "$work/$1.out" | sed 's/.* check=\([01]\).*/\1/' | tr -d '\n'; }

# Reverse from the popup: checked, stored, and off again in the next run.
export VINTREL_OS_VERSION=5.0
bar_settings d1140040 ''
run reverse_on "$go\n$reverse\n$go\nwindows\nkey Escape\nquit" || fail "reverse on: exited with $?"
[ "$(checks reverse_on "$reverse_item")" = 1 ] || fail "reverse on: check marks '$(checks reverse_on "$reverse_item")'"
[ "$(stored Flags)" = '"Flags"=dword:d1140840' ] || fail "reverse on: $(stored Flags)"
run reverse_off "$go\nwindows\n$reverse\n$go\nwindows\nkey Escape\nquit" ||
  fail "reverse off: exited with $?"
[ "$(checks reverse_off "$reverse_item")" = 10 ] || fail "reverse off: check marks '$(checks reverse_off "$reverse_item")'"
[ "$(stored Flags)" = '"Flags"=dword:d1140040' ] || fail "reverse off: $(stored Flags)"

# The Bookmark check mark follows the lesson shown: lesson 5 is bookmarked, 6 is not.
bar_settings d1140044 '' '"Lesson"=dword:00000005\r\n"Bookmarks"=hex:05,00,00,00\r\n'
popup="$go\nwindows\nkey Escape"  # opened, listed and closed
run bookmark "$popup\n$next\n$popup\n$previous\n$popup\nquit" || fail "bookmark: exited with $?"
[ "$(checks bookmark "$bookmark_item")" = 101 ] || fail "bookmark: check marks '$(checks bookmark "$bookmark_item")'"

finish "menu bar end to end"
