#!/usr/bin/env bash
# An installed copy, as a user meets it: `cmake --install` writes only below its prefix;
# the copy runs from wherever the prefix is moved, finding its window's module there; its
# icons are the program's icon; it shares the settings and the single running copy with
# the build's program; and started from its desktop entry's Exec line under X it opens a
# window of the entry's class at the zoom that fits the screen.
# Usage: installed_e2e.sh BUILD_DIR BUILD_VINTREL ICON.ico SEND_WM_DELETE WORK_FOLDER
set -euo pipefail
build=$1 built=$2 icon=$3 send_delete=$4
source "$(dirname "$0")/../support/e2e.sh"
start_in "$5"

# Staged below a separate root, every file lands below the prefix.
prefix=$work/prefix
DESTDIR=$work/stage cmake --install "$build" --prefix "$prefix" > "$work/install.log"
outside=$(cd "$work/stage" && find . ! -type d ! -path ".$prefix/*")
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
# Moved elsewhere, the copy still finds what it needs beside itself.
copy=$work/moved
mv "$work/stage$prefix" "$copy"

entry=$(ls "$copy"/share/applications/*.desktop)
id=$(basename "$entry" .desktop)
for file in bin/vintrel bin/vintrel-book lib/vintrel/vintrel-sdl.so share/metainfo/$id.metainfo.xml \
            share/man/man1/vintrel.1 share/man/man1/vintrel-book.1 share/vintrel/book/index.bin; do
  [ -f "$copy/$file" ] || fail "$file is not installed"
done
runpath=$(readelf -d "$copy/bin/vintrel" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
[ "$runpath" = '$ORIGIN/../lib/vintrel' ] || fail "the installed program's run path is '$runpath'"

# The icons: each size square, 16 and 32 the icon's own images, the larger ones those
# images in whole-pixel squares.
while read -r size image scale; do
  png=$copy/share/icons/hicolor/${size}x$size/apps/$id.png
  [ -f "$png" ] || { fail "no ${size}x$size icon"; continue; }
  [ "$(identify -format '%wx%h' "$png")" = "${size}x$size" ] || fail "the $size icon is $(identify -format '%wx%h' "$png")"
  convert "$icon[$image]" -scale "$scale%" "$work/expected-$size.png"
  differing=$(compare -metric AE "$png" "$work/expected-$size.png" null: 2>&1 || true)
  [ "$differing" = 0 ] || fail "the ${size}x$size icon differs from the program's icon in $differing pixels"
done <<EOT
16 1 100
32 0 100
48 1 300
64 0 200
128 0 400
256 0 800
EOT

# vintrel-book reads the book installed beside it.
"$copy/bin/vintrel-book" check > "$work/check.out" || fail "vintrel-book check failed: $(cat "$work/check.out")"
grep -q "^$copy/share/vintrel/book: ok" "$work/check.out" ||
  fail "vintrel-book did not read the installed book: $(tail -n1 "$work/check.out")"

# The settings are the same file for both copies: each run steps one lesson on from
# where the other left off.
write_settings '"FontName"="DejaVu Sans"\r\n'
run_day=2005-03-15
program=$built
run built_step "key Right\nscreenshot $work/built.png\nquit" || fail "the build's copy exited with $?"
expect_value Lesson dword:0000007f "the build's copy on lesson 126, one on"
program=$copy/bin/vintrel
run installed_step "key Left\nscreenshot $work/installed.png\nquit" || fail "the installed copy exited with $?"
expect_value Lesson dword:0000007e "the installed copy, one back"
run installed_again "key Right\nscreenshot $work/installed_again.png\nquit"
cmp -s "$work/built.png" "$work/installed_again.png" || fail "the two copies show lesson 127 differently"
unset run_day

# One running copy for both: the build's copy hands over to the installed one.
printf 'windows\nwait 60000\n' > "$work/running.script"
"$program" --headless --script "$work/running.script" > "$work/running.out" 2>&1 &
running=$!
wait_for_line "$work/running.out" '^end$' > /dev/null || fail "the installed copy did not start"
program=$built
run handed_over "windows\nquit" || fail "the build's copy exited with $? beside the installed one"
grep -q '^window ' "$work/handed_over.out" && fail "the build's copy ran beside the installed one"
kill -TERM "$running"
wait "$running" || fail "the installed copy exited with $?"
program=$copy/bin/vintrel

expect_display_refusal "the installed copy without a display" "$program"

# From the desktop entry, on screens of three sizes: the window's class is the entry's,
# the module comes from the installed copy, and the zoom fits four fifths of the screen.
exec_line=$(sed -n 's/^Exec=//p' "$entry")
class=$(sed -n 's/^StartupWMClass=//p' "$entry")
while read -r screen zoom; do
  start_xvfb "$screen"
  PATH="$copy/bin:$PATH" $exec_line > "$work/window.out" 2>&1 &
  reader=$!
  window=""
  for _ in $(seq 1 200); do
    window=$(xdotool search --onlyvisible --class "^$class\$" 2> /dev/null | head -n1) || true
    [ -z "$window" ] || break
    sleep 0.05
  done
  if [ -z "$window" ]; then
    fail "$screen: no window of class $class"
    kill -TERM "$reader" 2> /dev/null || true
  else
    wm_class=$(xprop -id "$window" WM_CLASS)
    [ "$wm_class" = "WM_CLASS(STRING) = \"$class\", \"$class\"" ] || fail "$screen: $wm_class"
    grep -q " $copy/lib/vintrel/vintrel-sdl.so$" "/proc/$reader/maps" ||
      fail "$screen: the window's module was not the installed one"
    sleep 0.5  # the first frame
    check_screenshot "$window" "$work/window-$screen.png" || fail "$screen: blank window"
    size=$(identify -format '%wx%h' "$work/window-$screen.png")
    [ "$size" = "$((240 * zoom))x$((320 * zoom))" ] || fail "$screen: the window is $size, not at zoom $zoom"
    "$send_delete" "$window"
  fi
  wait "$reader" || fail "$screen: the reader exited with $?: $(cat "$work/window.out")"
  stop_xvfb
done <<EOT
800x800 2
1024x768 1
2400x1700 4
EOT
finish "installed copy"
