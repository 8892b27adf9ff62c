# Shared by the end-to-end scripts: the real program, headless, on a fixed date, with a
# settings folder of its own that is read back after each run.
# The caller sets `vintrel` and sources this file.
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
settings=$XDG_CONFIG_HOME/vintrel/registry.reg
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run DATE SCRIPT-LINES [ARGS...]: runs the program headless on DATE
run() {
  local date=$1 lines=$2
  shift 2
  printf '%b\n' "$lines" > "$work/script"
  faketime "$date 12:00:00" "$vintrel" --headless --script "$work/script" "$@" \
    > "$work/out" 2> "$work/err"
}

value() { grep -i "^\"$1\"=" "$settings" | head -1 | cut -d= -f2- | tr 'A-F' 'a-f'; }

expect_value() {
  local got
  got=$(value "$1")
  [ "$got" = "$2" ] || fail "$3: $1 is '$got', expected '$2'"
}

write_settings() {
  mkdir -p "$XDG_CONFIG_HOME/vintrel"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Norvane\\Vintrel - 5765 (heb)]\r\n%b' "$1" > "$settings"
}

# Ends the script with its verdict.
finish() {
  if [ $failures -eq 0 ]; then echo "$1: all passed"; fi
  exit $((failures > 0))
}
