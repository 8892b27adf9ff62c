#!/usr/bin/env bash
# The bars as a reader meets them: the real program, headless, with a settings folder of
# its own. The window list shows which bar was built; the Reverse item, chosen from the
# "Go" popup, reaches the stored Flags and back.
# Usage: menu_bar_e2e.sh PATH-TO-VINTREL WORK-FOLDER
set -u
vintrel=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
export XDG_CONFIG_HOME=$work/config
# A runtime folder of its own: no copy started by another test is taken for a running one.
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
settings=$XDG_CONFIG_HOME/vintrel/registry.reg
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# write_settings FLAGS PUBLISHER-LINES [PRODUCT-LINES]: a font chosen (so no font dialog
# opens), the Flags, and the lines given for the publisher and the product key.
write_settings() {
  mkdir -p "$XDG_CONFIG_HOME/vintrel"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n' > "$settings"
  printf '[HKEY_CURRENT_USER\\Software\\Norvane\\Vintrel - 5765 (heb)]\r\n' >> "$settings"
  printf '"FontName"="DejaVu Sans"\r\n"Flags"=dword:%s\r\n%b\r\n' "$1" "${3:-}" >> "$settings"
  printf '[HKEY_CURRENT_USER\\software\\Karsolet]\r\n%b' "$2" >> "$settings"
}
# run VERSION SCRIPT-LINES...: the window list goes to $work/out.
run() {
  local version=$1
  shift
  printf '%s\n' "$@" > "$work/script"
  VINTREL_OS_VERSION=$version "$vintrel" --headless --script "$work/script" \
    > "$work/out" 2> "$work/err"
}
stored_flags() { grep -i '^"Flags"=' "$settings" | tr -d '\r'; }

# Which bar, and the close button of the full-screen command bar.
while read -r version publisher expected close; do
  write_settings d1140040 "$publisher"
  run "$version" windows quit || fail "$version $publisher: exited with $?: $(cat "$work/err")"
  grep -q "class=\"$expected\".*buttons=8" "$work/out" ||
    fail "$version $publisher: no $expected with 8 buttons"
  if [ "$close" = yes ]; then
    grep -q "close-button" "$work/out" || fail "$version $publisher: no close button"
  else
    grep -q "close-button" "$work/out" && fail "$version $publisher: a close button"
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
# The check marks of an item in each listing of the open popup, in order.
checks() { grep "id=$1 " "$work/out" | sed 's/.* check=\([01]\).*/\1/' | tr -d '\n'; }

# Reverse from the popup: checked, stored, and off again in the next run.
write_settings d1140040 ''
run 5.0 "$go" "$reverse" "$go" windows "key Escape" quit || fail "reverse on: exited with $?"
[ "$(checks 122)" = 1 ] || fail "reverse on: check marks '$(checks 122)'"
[ "$(stored_flags)" = '"Flags"=dword:d1140840' ] || fail "reverse on: $(stored_flags)"
run 5.0 "$go" windows "$reverse" "$go" windows "key Escape" quit || fail "reverse off: exited with $?"
[ "$(checks 122)" = 10 ] || fail "reverse off: check marks '$(checks 122)'"
[ "$(stored_flags)" = '"Flags"=dword:d1140040' ] || fail "reverse off: $(stored_flags)"

# The Bookmark check mark follows the lesson shown: lesson 5 is bookmarked, 6 is not.
write_settings d1140044 '' '"Lesson"=dword:00000005\r\n"Bookmarks"=hex:05,00,00,00\r\n'
run 5.0 "$go" windows "key Escape" "$next" "$go" windows "key Escape" "$previous" "$go" windows \
  "key Escape" quit || fail "bookmark: exited with $?"
[ "$(checks 123)" = 101 ] || fail "bookmark: check marks '$(checks 123)'"

[ $failures -eq 0 ] || exit 1
echo "menu bar end to end: all passed"
