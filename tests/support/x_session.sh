# The real program driven under its own X server: a work folder, clean-up,
# screenshots, failure reports, and the windows, keys and clicks a learner
# uses. Source it after setting RUN_TAG (the log prefix, e.g. "e2e") and
# RUN_FAILED (the failure line's start, e.g. "E2E FAILED"); it makes $work,
# $run (the program's folder) and $shots and removes them when all went well.
# shellcheck shell=bash

work="$(mktemp -d "${TMPDIR:-/tmp}/cxb-${RUN_TAG}.XXXXXX")"
run="$work/app"
shots="$work/shots"
mkdir -p "$run" "$shots"
xvfb_pid=""
app_pid=""
keep=0
shot_no=0
started=$(date +%s)

cleanup() {
  local rc=$?
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null
    sleep 0.5
    kill -9 "$app_pid" 2>/dev/null
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  if [ "$keep" = 1 ] || [ "$rc" != 0 ]; then
    echo "screenshots of the steps:" >&2
    ls -1 "$shots"/*.png 2>/dev/null | sed 's/^/  /' >&2
    echo "the program's folder and log: $run  $work/app.log" >&2
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say() { echo "[${RUN_TAG} $(( $(date +%s) - started ))s] $*"; }

shot() {
  shot_no=$((shot_no + 1))
  import -display "$DISPLAY" -window root "$(printf '%s/%02d-%s.png' "$shots" "$shot_no" "$1")" 2>/dev/null
}

fail() {
  echo "${RUN_FAILED}: $*" >&2
  [ -n "$xvfb_pid" ] && shot failure
  if [ -s "$work/app.log" ]; then
    echo "program output:" >&2
    sed 's/^/  /' "$work/app.log" | tail -n 20 >&2
  fi
  keep=1
  exit 1
}

alive() {
  kill -0 "$app_pid" 2>/dev/null && return 0
  wait "$app_pid"
  fail "the program ended unexpectedly (exit code $?) $*"
}

# Visible windows whose title matches the regular expression.
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }

# Waits until a window whose title matches is visible; its id goes to WIN.
WIN=""
wait_window() {
  local regex="$1" what="$2" limit="${3:-30}"
  WIN=$(timeout "$limit" xdotool search --sync --onlyvisible --name "$regex" 2>/dev/null | head -n 1)
  [ -n "$WIN" ] || { alive "while waiting for $what"; fail "no $what (title /$regex/) within ${limit}s"; }
}

# Waits until the window is gone or hidden.
wait_gone() {
  local w="$1" what="$2" limit="${3:-20}" i
  for ((i = 0; i < limit * 5; i++)); do
    visible '.' | grep -qx "$w" || return 0
    sleep 0.2
  done
  fail "$what is still open after ${limit}s"
}

# A message box of the program (title 驰学宝) must not be showing.
no_box() {
  local b
  b=$(visible '^驰学宝$')
  [ -z "$b" ] || fail "an unexpected message box is open $*"
}

focus() {
  local w="$1" i
  for ((i = 0; i < 10; i++)); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$w" ] && return 0
    xdotool windowfocus "$w" 2>/dev/null
    sleep 0.2
  done
  fail "window $w does not take the keyboard focus"
}

# Real key presses (XTEST) into the focused window.
key() {
  local w="$1"
  shift
  focus "$w"
  xdotool key "$@"
  sleep 0.3
}

# A real mouse click at (x, y) of the window's client area.
click() {
  local w="$1" x="$2" y="$3"
  xdotool mousemove --window "$w" "$x" "$y"
  sleep 0.3
  xdotool click 1
  sleep 0.5
}

# Several keys by turns: "a,Return" is two presses.
keys() {
  local w="$1" k
  IFS=',' read -r -a list <<<"$2"
  for k in "${list[@]}"; do key "$w" "$k"; done
}
