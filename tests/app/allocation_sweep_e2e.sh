#!/usr/bin/env bash
# Memory running out anywhere in the real program: the program, headless, runs each
# scene once to count its allocations (VINTREL_FAIL_ALLOCATION beyond the end says how
# many), then once per allocation of a sweep with that allocation failed: the start-up's
# from the first, each other scene's those after the start-up's count. Every run must end
# by itself, with 0 or with 1 and the platform's one line about a start without memory,
# say nothing else on stderr but the knob's own line, show the scene's
# window or the out-of-memory box when it lists its windows, and leave the settings file
# byte for byte as before the run or as the run without a failure leaves it, with no
# temporary file beside it.
# Usage: allocation_sweep_e2e.sh PATH-TO-VINTREL WORK-FOLDER [RUNS-PER-SCENE]
# RUNS-PER-SCENE (default 120) spreads that many failing allocations evenly over each
# scene's range; 0 fails every one of them in turn (a long sweep).
set -u
program=$1
source "$(dirname "$0")/../support/e2e.sh"
start_in "$2"
runs_per_scene=${3:-120}
run_seconds=30

go="tap 15 307"
out_of_memory='window class="MessageBox" title="Error" .*text="There is not enough memory'

# scene NAME WINDOW-PATTERN LINES: the script lines, ending in a window listing; the last
# listing must show a line matching the pattern (the scene's window) or the box. The
# dialogs of the menu list the open menu first: a menu that the platform could not open
# (the tap did nothing) leaves nothing to check after it.
menu_popup='^window class="MenuPopup"'
scenes=(
  "startup|^window class=\"Vintrel - 5765 \(heb\)\"|windows"
  "lesson_step|^window class=\"Vintrel - 5765 \(heb\)\"|key Right PageDown\nwindows"
  "choose_article|^window class=\"Dialog\" title=\"Choose Section\"|tap 187 307\nwindows"
  "choose_font|^window class=\"Dialog\" title=\"Choose Font\"|$go\nwindows\ntext o\nwindows"
  "about|^window class=\"Dialog\" title=\"Vintrel - 5765 \(heb\)\"|$go\nwindows\ntext a\nwindows"
)

# listing NAME first|last: the run's first or last window listing.
listing() {
  if [ "$2" = first ]; then
    sed '/^end$/q' "$work/$1.out"
  else
    tac "$work/$1.out" | sed '1{/^end$/d}' | sed '/^end$/q' | tac
  fi
}

# A settings file as a second start leaves it: a face chosen, the program's path stored.
write_settings '"FontName"="DejaVu Sans"\r\n'
run settle "quit" || fail "the settling run exited with $?"
cp "$settings" "$work/settings.before"

# counted NAME: the number of allocations the run said it made, or nothing.
counted() {
  sed -n 's/^vintrel: \([0-9]*\) allocations, the one to fail not reached.*/\1/p' "$work/$1.err"
}

# check_run NAME N PATTERN: the verdicts above for one run that failed allocation N.
check_run() {
  local name=$1 n=$2 pattern=$3 status=$4 file
  local what="$name, allocation $n" said='^vintrel: .*\(VINTREL_FAIL_ALLOCATION\)$'
  if [ "$status" = 1 ]; then
    said="$said|^vintrel: not enough memory to start$"
  elif [ "$status" != 0 ]; then
    fail "$what: exited with $status"
  fi
  if grep -Eqv "$said" "$work/$name.err"; then
    fail "$what: said on stderr: $(head -c 2000 "$work/$name.err")"
  fi
  # A listing that the failure itself cut short (no last "end") shows nothing to check.
  if [ "$(tail -n 1 "$work/$name.out")" = end ] && ! listing "$name" last | grep -Eq -- "$pattern|$out_of_memory"; then
    # A menu that opened and then closed without its choice (the key lost for lack of
    # memory in the platform) leaves no dialog and says nothing either.
    if [[ $lines != "$go"* ]] || { listing "$name" first | grep -Eq -- "$menu_popup|$out_of_memory" &&
                                  listing "$name" last | grep -q -- "class=\"Dialog\""; }; then
      fail "$what: the last listing shows neither the scene nor the out-of-memory box"
    fi
  fi
  if ! cmp -s "$settings" "$work/settings.before" && ! cmp -s "$settings" "$work/settings.after"; then
    fail "$what: the settings file is neither as before nor as after: $(tr -d '\r' < "$settings")"
  fi
  for file in "$settings".*; do
    [ "$file" = "$settings.lock" ] || [ ! -e "$file" ] || fail "$what: left $file"
  done
}

swept=()
for scene in "${scenes[@]}"; do
  IFS='|' read -r name pattern lines <<< "$scene"
  cp "$work/settings.before" "$settings"
  VINTREL_FAIL_ALLOCATION=999999999 run "$name" "$lines\nquit"
  total=$(counted "$name")
  if [ -z "$total" ]; then
    fail "$name: the run without a failure did not count its allocations: $(cat "$work/$name.err")"
    continue
  fi
  grep -Eq -- "$pattern" "$work/$name.out" || fail "$name: the run without a failure lacks its window"
  cp "$settings" "$work/settings.after"
  first=$((${startup_total:-0} + 1))
  startup_total=${startup_total:-$total}
  step=1
  if [ "$runs_per_scene" -gt 0 ]; then
    step=$(((total - first + runs_per_scene) / runs_per_scene))
    [ "$step" -gt 0 ] || step=1
  fi
  tried=0 reached=0
  for ((n = first; n <= total; n += step)); do
    tried=$((tried + 1))
    cp "$work/settings.before" "$settings"
    VINTREL_FAIL_ALLOCATION=$n run "$name.fail" "$lines\nquit"
    check_run "$name.fail" "$n" "$pattern" $?
    if grep -q "^vintrel: allocation $n failed" "$work/$name.fail.err"; then reached=$((reached + 1)); fi
  done
  # The counts of a run vary a little with its timing; nearly every one must be reached.
  [ $((reached * 10)) -ge $((tried * 9)) ] || fail "$name: only $reached of $tried failures were reached"
  swept+=("$name: allocations $first to $total, one in $step failed: $reached of $tried reached")
done

printf '%s\n' "${swept[@]}"
finish "allocation sweep end-to-end"
