#!/usr/bin/env bash
# The manual pages: man reads them without a warning, vintrel.1 has the sections a
# reader looks for and every option the program's usage lists, vintrel-book.1 every
# command of the tool's usage with an example.
# Usage: manual_pages_test.sh MAN_DIR VINTREL VINTREL_BOOK
set -euo pipefail
pages=$1 program=$2 book=$3
source "$(dirname "$0")/../support/e2e.sh"
start_in "$(mktemp -d)"
export LC_ALL=C.UTF-8 MANWIDTH=80

for page in vintrel vintrel-book; do
  man --warnings -E UTF-8 -l "$pages/$page.1" > "$work/$page.txt" 2> "$work/$page.warnings" ||
    fail "man could not read $page.1"
  [ ! -s "$work/$page.warnings" ] || fail "$page.1: $(cat "$work/$page.warnings")"
  # man's text without its overstriking, for the searches below.
  sed -i 's/.\x08//g' "$work/$page.txt"
done

for section in NAME SYNOPSIS DESCRIPTION OPTIONS "COMMAND LINE" KEYS TAPS MENU \
               "SETTINGS FILE" "EXIT STATUS" ENVIRONMENT FILES; do
  grep -qx "$section" "$work/vintrel.txt" || fail "vintrel.1 has no $section section"
done
for option in $("$program" --help | grep -oE '^  --[a-z]+'); do
  grep -qE -- "^ +$option( |$)" "$work/vintrel.txt" || fail "vintrel.1 does not describe $option"
done

for command in $("$book" --help | sed -nE 's/^  ([a-z]+) .*/\1/p'); do
  grep -qE "^ +$command( |$)" "$work/vintrel-book.txt" ||
    fail "vintrel-book.1 does not describe $command"
  # An example stands indented below its command, deeper than the synopsis.
  grep -qE "^ {9,}vintrel-book $command( |$)" "$work/vintrel-book.txt" ||
    fail "vintrel-book.1 gives no example of $command"
done
finish "manual pages"
