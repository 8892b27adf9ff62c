# Sourced by the window smoke tests: starts a private X server on a free display number
# and stops it when the test script ends. Exits 77 (skipped) without Xvfb or xdotool.
for tool in Xvfb xdotool import; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done

xvfb_pid=""
stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap stop_xvfb EXIT

# Tries display numbers until one is free; -nolisten tcp keeps it local.
for number in $(seq 90 140); do
  if [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; then continue; fi
  Xvfb ":${number}" -screen 0 800x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    if [ -e "/tmp/.X11-unix/X${number}" ]; then break; fi
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
    sleep 0.05
  done
  if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X${number}" ]; then
    export DISPLAY=":${number}"
    break
  fi
  xvfb_pid=""
done
if [ -z "$xvfb_pid" ]; then
  echo "no free display number for Xvfb"
  exit 1
fi

# Waits until a window whose title matches the regular expression exists; prints its id.
wait_for_window() {
  local pattern=$1 id=""
  for _ in $(seq 1 200); do
    id=$(xdotool search --name "$pattern" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.05
  done
  return 1
}

# Waits until the file holds a line matching the pattern.
wait_for_line() {
  local file=$1 pattern=$2
  for _ in $(seq 1 200); do
    if grep -q -- "$pattern" "$file" 2>/dev/null; then return 0; fi
    sleep 0.05
  done
  echo "never saw '$pattern' in $file:"
  cat "$file"
  return 1
}

# A screenshot shows more than one colour (the window drew something).
check_screenshot() {
  local window=$1 file=$2 colours
  import -window "$window" "$file"
  colours=$(identify -format '%k' "$file")
  if [ "${colours:-0}" -lt 2 ]; then
    echo "screenshot $file is blank ($colours colours)"
    return 1
  fi
}
