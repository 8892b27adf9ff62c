#!/usr/bin/env bash
# The font choice, the About box and the update link as a reader meets them: the real
# program, headless, with a settings folder of its own and a stand-in xdg-open on PATH
# that records the address it is given. Taps go where the window listing says.
# Usage: dialogs_e2e.sh PATH-TO-VINTREL WORK-FOLDER
set -u
program=$1
source "$(dirname "$0")/../support/e2e.sh"
start_in "$2"
run_day=2005-04-10

opened=$work/opened
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$opened" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
plain_path=$PATH
export PATH="$work/bin:$PATH"

go="tap 15 307"
shot() { echo "screenshot $work/$1.png"; }
# has NAME PATTERN WHAT: the run's listing has a line matching the regular expression.
has() { grep -Eq -- "$2" "$work/$1.out" || fail "$3"; }
lacks() { if grep -Eq -- "$2" "$work/$1.out"; then fail "$3"; fi; }
# waits until the stand-in opener has recorded N addresses
wait_opened() {
  for _ in $(seq 1 100); do
    [ "$(wc -l < "$opened" 2> /dev/null || echo 0)" -ge "$1" ] && return 0
    sleep 0.05
  done
}

# The first start: the Choose Font dialog over the lesson, with the installed families.
run first "windows\n$(shot first)\nquit" || fail "first start exited with $?: $(cat "$work/first.err")"
has first '^window class="Dialog" title="Choose Font"' "no font dialog at the first start"
[ "$(grep -n 'title="Choose Font"' "$work/first.out" | cut -d: -f1)" -lt \
  "$(grep -nF 'class="Vintrel - 5765 (heb)"' "$work/first.out" | cut -d: -f1)" ] ||
  fail "the font dialog is not over the main window"
for face in "David CLM" "Frank Ruehl CLM" "Miriam CLM" "DejaVu Sans"; do
  has first "^    item [0-9]+ text=\"$face\"" "the face list lacks $face"
done
has first 'id=1005 text="5D0" .* check=1' "5D0 is not checked at the first start"
# Cancel (the script's end) leaves no face, so the dialog comes back.
grep -qi '^"FontName"=' "$settings" && fail "a cancelled first start stored a face"
run again "windows\nquit"
has again 'title="Choose Font"' "the font dialog did not return after a cancelled first start"

# The reader picks a Hebrew face and a size: the letters from tav down to alef in it.
letters=$(printf 'תשרקצץפףעסנןמםלכךיטחזוהדגבא')
david=$(centre first 'item [0-9]+ text="David CLM"')
size=$(centre first 'item [0-9]+ text="20"')
ok=$(centre first 'title="Choose Font"' ok)
run choose "tap $david\ntap $size\nwindows\n$(shot chosen)\ntap $ok\n$(shot reading)\nquit" ||
  fail "choosing a font exited with $?"
has choose 'seltext="David CLM"' "David CLM was not selected"
has choose 'seltext="20"' "size 20 was not selected"
has choose "id=1002 text=\"$letters\"" "the preview does not show tav down to alef"
expect_value FontName '"David CLM"' "OK"
expect_value FontSize dword:00000014 "OK"
expect_value FontAsciiBase dword:000005d0 "OK"
cmp -s "$work/first.png" "$work/reading.png" && fail "OK left the screen as it was"

# The next start opens without the dialog, in the chosen font.
run next "windows\n$(shot next)\nquit"
lacks next 'class="Dialog"' "a dialog opened although a face is stored"
cmp -s "$work/reading.png" "$work/next.png" || fail "the next start does not read in the chosen font"

# Go > Font: the stored choice selected; "224" shows the letters at U+00E0; Cancel keeps it.
run font_cancel "$go\ntext o\nwindows\nquit"
has font_cancel 'title="Choose Font"' "Go > Font opened no dialog"
radio=$(centre font_cancel 'id=1004 text="224"')
run font_cancel "$go\ntext o\ntap $radio\nwindows\n$(shot bytes)\nkey Escape\nwindows\nquit"
has font_cancel "id=1002 text=\"$(printf 'úùø÷öõôóòñðïîíìëêéèçæåäãâáà')\"" "224 did not show the letters at U+00E0"
has font_cancel 'id=1004 text="224" .* check=1' "224 is not checked after the tap"
expect_value FontAsciiBase dword:000005d0 "Cancel"
expect_value FontName '"David CLM"' "Cancel"
run font_ok "$go\ntext o\ntap $radio\ntap $ok\nquit"
expect_value FontAsciiBase dword:000000e0 "OK with 224"

# Go > About: the edition, its version, the notice and the link, which opens the home
# page and leaves the box open until its ok.
run about "$go\ntext a\nwindows\n$(shot about)\nquit"
has about '^window class="Dialog" title="Vintrel - 5765 \(heb\)"' "Go > About opened no box"
for text in "Vintrel - 5765 \\(Hebrew\\)" "Version 1.84a" "A reader by Norvane"; do
  has about "class=\"Static\" id=65535 text=\"$text\"" "the box lacks '$text'"
done
has about 'class="Static" .* bitmap=1' "the box shows no picture"
has about 'id=1025 text="www.example.org" .* ownerdraw=1' "the box has no link"
link=$(centre about 'id=1025')
box_ok=$(centre about 'title="Vintrel - 5765 \(heb\)"' ok)
run link "$go\ntext a\ntap $link\nwait 300\nwindows\ntap $box_ok\nwindows\nquit" || fail "the link run exited with $?"
wait_opened 1
[ "$(sed -n 1p "$opened")" = "http://www.example.org/" ] || fail "the link opened '$(cat "$opened")'"
[ "$(grep -c 'window class="Dialog"' "$work/link.out")" -eq 1 ] ||
  fail "the box did not stay open after the link, or did not close with its ok"

# Check For Updates opens the update address at once.
run update "$go\ntext u\nwait 300\nwindows\nquit" || fail "the update run exited with $?"
wait_opened 2
sed -n 2p "$opened" | grep -q '^http://update\.example\.org/cgi-bin/upgrade?p=arm/Norvane/Vintrel+%2D+5765+%28heb%29&v=1\.84a$' ||
  fail "Check For Updates opened '$(sed -n 2p "$opened")'"
lacks update 'class="Dialog"' "Check For Updates opened a dialog"

# Without a launcher the program goes on as before.
PATH=$plain_path run no_launcher "$go\ntext u\nwindows\nquit"
status=$?
[ $status -eq 0 ] || fail "without a launcher the program exited with $status"
has no_launcher 'class="Vintrel - 5765 \(heb\)"' "without a launcher the window is gone"
[ "$(wc -l < "$opened")" -eq 2 ] || fail "something was opened without a launcher"

finish "dialogs end-to-end"
