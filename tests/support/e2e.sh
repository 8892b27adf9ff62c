# Sourced by every end-to-end script: the run's folder, failures counted, the program run
# headless on a script, the settings file read back, and a private X server for the
# window smoke tests. The caller sets `program` (the executable `run` starts) and calls
# `start_in` before anything else.

failures=0

# fail MESSAGE...: counts a failure and says what it was; the script goes on.
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# finish NAME: ends the script with its verdict, 0 when nothing failed.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$1: $failures failed"
    exit 1
  fi
  echo "$1: all passed"
  exit 0
}

# start_in DIR: DIR emptied and made the run's folder ($work), with a settings folder
# ($XDG_CONFIG_HOME, its registry file $settings) and a runtime folder of its own, so
# the run meets nothing that another run left or another test runs. Programs left in
# the background and the X server end with the script.
start_in() {
  work=$1
  rm -rf "$work"
  mkdir -p "$work"
  export XDG_CONFIG_HOME=$work/config
  settings=$XDG_CONFIG_HOME/vintrel/registry.reg
  fresh_runtime
  trap end_session EXIT
}

# fresh_runtime: a new runtime folder ($XDG_RUNTIME_DIR), where no running copy of the
# program is met. It lies in the temporary folder, not the work folder: a socket's path
# holds at most 107 bytes, which a deep checkout would pass. The session removes it.
runtime_folders=()
fresh_runtime() {
  XDG_RUNTIME_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vintrel-runtime.XXXXXX")
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
  runtime_folders+=("$XDG_RUNTIME_DIR")
}

end_session() {
  local running
  running=$(jobs -p)
  if [ -n "$running" ]; then kill $running 2>/dev/null || true; fi
  stop_xvfb
  if ((${#runtime_folders[@]})); then rm -rf "${runtime_folders[@]}"; fi
}

# run NAME SCRIPT-LINES [ARGS...]: runs $program headless on the script lines (printf %b
# escapes, one command a line) with ARGS after the options, for a minute at most (or
# $run_seconds); its output goes to $work/NAME.out and $work/NAME.err, its exit status is
# returned (124 when it ran out of time). With $run_day set (YYYY-MM-DD) the program runs
# at noon that day.
run() {
  local name=$1 lines=$2 clock=()
  shift 2
  printf '%b\n' "$lines" > "$work/$name.script"
  if [ -n "${run_day:-}" ]; then clock_at "$run_day 12:00:00"; fi
  timeout "${run_seconds:-60}" "${clock[@]}" "$program" --headless --script "$work/$name.script" "$@" \
    > "$work/$name.out" 2> "$work/$name.err"
}

# clock_at "YYYY-MM-DD hh:mm:ss": sets $clock to the words that run a command with its
# clock started at that moment: `clock_at "$day 12:00:00"; "${clock[@]}" program ...`.
# libfaketime is preloaded directly: the faketime wrapper names semaphores after its
# process id and leaves them behind when it is killed, so that a later wrapper with the
# same id refuses to start.
clock_at() {
  local library
  for library in /usr/lib/*/faketime/libfaketime.so.1 /usr/lib/faketime/libfaketime.so.1; do
    [ -f "$library" ] && break
  done
  clock=(env "LD_PRELOAD=$library" "FAKETIME=@$1")
}

# centre NAME PATTERN [FIELD]: "X Y", the centre of the rect= (or the FIELD=) of the first
# line of $work/NAME.out that matches the extended regular expression: where to tap.
centre() {
  grep -E -- "$2" "$work/$1.out" | head -n1 |
    sed -E "s/.* ${3:-rect}=(-?[0-9]+),(-?[0-9]+),(-?[0-9]+),(-?[0-9]+).*/\\1 \\2 \\3 \\4/" |
    awk '{ printf "%d %d", ($1 + $3) / 2, ($2 + $4) / 2 }'
}

# write_settings PRODUCT-LINES [PUBLISHER-LINES]: a settings file as a person writes one,
# with the lines given (printf %b escapes) under the product key and, when given, the
# publisher's key.
write_settings() {
  mkdir -p "$(dirname "$settings")"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n' > "$settings"
  printf '[HKEY_CURRENT_USER\\Software\\Norvane\\Vintrel - 5765 (heb)]\r\n%b' "$1" >> "$settings"
  if [ $# -ge 2 ]; then
    printf '\r\n[HKEY_CURRENT_USER\\software\\Karsolet]\r\n%b' "$2" >> "$settings"
  fi
}

# stored NAME: the settings file's line for the value NAME (names match in any letter case).
stored() { grep -i "^\"$1\"=" "$settings" | tr -d '\r'; }

# value NAME: what the file holds for NAME, as written there (dword:..., hex:..., "...").
value() { stored "$1" | cut -d= -f2-; }

# resource_id NAME: the number resources/resource_ids.h gives NAME (IDM_REVERSE, ...).
resource_id() {
  local header
  header="$(dirname "${BASH_SOURCE[0]}")/../../resources/resource_ids.h"
  sed -n "s/^#define $1 \([0-9]*\).*/\1/p" "$header"
}

# expect_value NAME EXPECTED WHAT
expect_value() {
  local got
  got=$(value "$1")
  [ "$got" = "$2" ] || fail "$3: $1 is '$got', expected '$2'"
}

# expect_display_refusal WHAT [VAR=VALUE...] PROGRAM [ARGS...]: run without a display, the
# program says so in one line naming --headless and exits with 1.
expect_display_refusal() {
  local what=$1 status=0
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY "$@" > "$work/nodisplay.out" 2> "$work/nodisplay.err" ||
    status=$?
  if [ "$status" -ne 1 ] || ! grep -q -- "--headless" "$work/nodisplay.err" ||
     [ "$(wc -l < "$work/nodisplay.err")" -ne 1 ]; then
    fail "$what: expected one line naming --headless and exit 1, got $status:" \
      "$(cat "$work/nodisplay.err")"
  fi
}

# start_xvfb [WxH]: a private X server ($DISPLAY) with a screen of WxH pixels (800x800
# unless given) on a display number the server itself finds free, so two tests never
# share one; it stops when the script ends or at stop_xvfb. Exits 77 (skipped) without
# Xvfb, xdotool or ImageMagick.
xvfb_pid=""
start_xvfb() {
  local tool number="" size=${1:-800x800}
  for tool in Xvfb xdotool import identify; do
    if ! command -v "$tool" > /dev/null; then
      echo "skipped: $tool is not installed"
      exit 77
    fi
  done
  # -displayfd: the server writes the number it took to file descriptor 3, and -nolisten
  # tcp keeps it local.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp \
    3> "$work/xvfb.display" > "$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 200); do
    if read -r number < "$work/xvfb.display"; then break; fi
    if ! kill -0 "$xvfb_pid" 2> /dev/null; then break; fi
    sleep 0.05
  done
  if [ -z "$number" ]; then
    echo "the X server did not start:"
    cat "$work/xvfb.log"
    exit 1
  fi
  export DISPLAY=":$number"
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2> /dev/null || true
    wait "$xvfb_pid" 2> /dev/null || true
    xvfb_pid=""
  fi
}

# wait_for_window PATTERN: waits until a window whose title matches the regular
# expression is viewable (a window is shown with its first frame); prints its id.
wait_for_window() {
  local pattern=$1 id=""
  for _ in $(seq 1 200); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2> /dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.05
  done
  echo "no window named '$pattern'" >&2
  return 1
}

# wait_for_line FILE PATTERN: waits until the file holds a line matching the pattern.
wait_for_line() {
  local file=$1 pattern=$2
  for _ in $(seq 1 200); do
    if grep -q -- "$pattern" "$file" 2> /dev/null; then return 0; fi
    sleep 0.05
  done
  echo "never saw '$pattern' in $file:"
  cat "$file"
  return 1
}

# check_screenshot WINDOW FILE: a screenshot that shows more than one colour (the window
# drew something).
check_screenshot() {
  local window=$1 file=$2 colours
  import -window "$window" "$file"
  colours=$(identify -format '%k' "$file")
  if [ "${colours:-0}" -lt 2 ]; then
    echo "screenshot $file is blank ($colours colours)"
    return 1
  fi
}
