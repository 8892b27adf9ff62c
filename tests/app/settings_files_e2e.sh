#!/usr/bin/env bash
# Settings files that could hurt a start, each given to the real program, headless: it
# must start and end in order within a generous budget, keep what it can read, keep what
# a person wrote, and say what it could not use.
# Usage: settings_files_e2e.sh PATH-TO-VINTREL WORK-FOLDER
set -u
program=$1
source "$(dirname "$0")/../support/e2e.sh"
start_in "$2"
run_day=2005-04-10
run_seconds=20  # a budget for a start and an end, never a measure of speed

header='Windows Registry Editor Version 5.00'
product='[HKEY_CURRENT_USER\Software\Norvane\Vintrel - 5765 (heb)]'
chosen='"Flags"=dword:d1140044\n"Lesson"=dword:00000005'

fresh() {
  rm -rf "$XDG_CONFIG_HOME"
  mkdir -p "$(dirname "$settings")"
}

# starts NAME: runs the program on the file in place; it must end with 0 in time.
starts() {
  run "$1" "quit"
  local status=$?
  [ $status -eq 124 ] && fail "$1: no start and end within ${run_seconds}s"
  [ $status -ne 124 ] && [ $status -ne 0 ] && fail "$1: exited with $status: $(head -c 300 "$work/$1.err")"
  return 0
}

# said NAME PATTERN: the run's messages hold the pattern.
said() { grep -q -- "$2" "$work/$1.err" || fail "$1: never said '$2': $(cat "$work/$1.err")"; }

# chosen_lesson_kept NAME: the lesson stored was read and written back.
chosen_lesson_kept() { expect_value Lesson dword:00000005 "$1"; }

# Keys nested 200,000 deep: a line the reader keeps as written.
fresh
{
  printf '%s\n\n%s\n%b\n\n[HKEY_CURRENT_USER' "$header" "$product" "$chosen"
  for _ in $(seq 200000); do printf '\\k'; done
  printf ']\n'
} > "$settings"
deep_size=$(wc -c < "$settings")
starts deep_keys
chosen_lesson_kept deep_keys
said deep_keys "1 unreadable line"
[ "$(wc -c < "$settings")" -ge "$deep_size" ] || fail "deep_keys: the deep line was not kept"

# 40,000 values in one key (within the 1 MiB a file may have).
fresh
{
  printf '%s\n\n%s\n%b\n' "$header" "$product" "$chosen"
  seq 40000 | sed 's/.*/"V&"=dword:00000001/'
} > "$settings"
starts many_values
chosen_lesson_kept many_values
[ "$(grep -c '^"V[0-9]' "$settings")" -eq 40000 ] || fail "many_values: values were lost"

# A FIFO and a device in place of the file: neither waited on nor replaced.
fresh
mkfifo "$settings"
starts fifo
said fifo "not a regular file"
[ -p "$settings" ] || fail "fifo: the FIFO was replaced"
fresh
ln -s /dev/zero "$settings"
starts dev_zero
said dev_zero "not a regular file"
[ "$(readlink "$settings")" = /dev/zero ] || fail "dev_zero: the link was replaced"

# UTF-16LE with its byte-order mark and CR LF, as exported elsewhere; CR line ends alone.
fresh
printf '%s\r\n\r\n%s\r\n%b\r\n' "$header" "$product" "${chosen//\\n/\\r\\n}" |
  iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$settings"
starts utf16
chosen_lesson_kept utf16
fresh
printf '%s\r\r%s\r%b\r' "$header" "$product" "${chosen//\\n/\\r}" > "$settings"
starts cr_only
chosen_lesson_kept cr_only

# A link: followed, and the file replaced where it leads, with its permissions.
fresh
printf '%s\n\n%s\n%b\n' "$header" "$product" "$chosen" > "$XDG_CONFIG_HOME/real.reg"
chmod 640 "$XDG_CONFIG_HOME/real.reg"
ln -s ../real.reg "$settings"
starts symlink
[ -L "$settings" ] || fail "symlink: the link was replaced by a file"
chosen_lesson_kept symlink
grep -q '^"Program Path"=' "$XDG_CONFIG_HOME/real.reg" || fail "symlink: the target was not written"
[ "$(stat -c %a "$XDG_CONFIG_HOME/real.reg")" = 640 ] || fail "symlink: permissions changed"

# Text of an odd byte length, and numbers far outside any screen.
fresh
write_settings "$chosen\r\n\"FontName\"=hex(1):44,00,56\r\n\"FontSize\"=dword:7fffffff\r\n\"LastPosition\"=dword:ffffffff\r\n" \
  '"SurroundingGutter"=dword:7fffffff\r\n'
starts odd_values
expect_value FontName '"DV"' odd_values
expect_value FontSize dword:00000400 odd_values
chosen_lesson_kept odd_values

# A file over 1 MiB: kept aside, and the settings start from the defaults.
fresh
{
  printf '%s\n\n%s\n%b\n' "$header" "$product" "$chosen"
  head -c 1100000 /dev/zero | tr '\0' ';'
  printf '\n'
} > "$settings"
large_size=$(wc -c < "$settings")
starts too_large
said too_large "registry.reg.too-large"
[ "$(grep -c 'too-large' "$work/too_large.err")" -eq 1 ] || fail "too_large: said more than once"
[ "$(wc -c 2>/dev/null < "$settings.too-large")" = "$large_size" ] || fail "too_large: not kept aside"
expect_value Flags dword:d1140040 too_large

# Lines a person wrote that the reader cannot read, in a read-only file: kept, and the
# file stays read-only.
fresh
write_settings "$chosen\r\n; my note\r\n\"Broken\"=dword:xyz\r\n"
chmod 444 "$settings"
starts kept_lines
grep -q '^; my note$' "$settings" || fail "kept_lines: the comment was deleted"
grep -q '^"Broken"=dword:xyz$' "$settings" || fail "kept_lines: the unreadable line was deleted"
[ "$(stat -c %a "$settings")" = 444 ] || fail "kept_lines: permissions changed"
chosen_lesson_kept kept_lines

# A second start that changes nothing leaves the file as it is.
inode=$(stat -c %i "$settings")
starts unchanged
[ "$(stat -c %i "$settings")" = "$inode" ] || fail "unchanged: the file was written again"

finish "settings files end-to-end"
