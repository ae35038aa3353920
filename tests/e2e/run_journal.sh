#!/usr/bin/env bash
# The real program under its own X server, ended the hard way: 20 answers and
# kill -9, a start (which takes them back) ended by SIGTERM, two answers and
# SIGTERM, a mock exam handed in and kill -9. After each start the bank's
# counters must hold every answer the journal took, exactly once.
#
#   run_journal.sh APP_DIR      (APP_DIR: the runnable folder, build/app)
set -uo pipefail

app_src="${1:?usage: run_journal.sh APP_DIR}"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../support/xvfb.sh
source "$here/../support/xvfb.sh"
check() { python3 "$here/journal_check.py" "$@"; }

for tool in Xvfb xdotool python3; do
  command -v "$tool" >/dev/null || { echo "JOURNAL E2E FAILED: $tool is missing (scripts/setup.sh --tests installs it)" >&2; exit 1; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/cxb-journal.XXXXXX")"
run="$work/app"
mkdir -p "$run"
xvfb_pid=""
app_pid=""
started=$(date +%s)

cleanup() {
  local rc=$?
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  if [ "$rc" != 0 ]; then echo "the program's folder and log: $run  $work/app.log" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say() { echo "[journal $(( $(date +%s) - started ))s] $*"; }
fail() {
  echo "JOURNAL E2E FAILED: $*" >&2
  [ -s "$work/app.log" ] && sed 's/^/  /' "$work/app.log" | tail -n 20 >&2
  exit 1
}

WIN=""
wait_window() {
  WIN=$(timeout "${3:-30}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1)
  [ -n "$WIN" ] || fail "no $2 (title /$1/)"
}
focus() {
  local i
  for ((i = 0; i < 10; i++)); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    xdotool windowfocus "$1" 2>/dev/null
    sleep 0.2
  done
  fail "window $1 does not take the keyboard focus"
}
key() { focus "$1"; shift; xdotool key "$@"; sleep 0.3; }
click() { xdotool mousemove --window "$1" "$2" "$3"; sleep 0.3; xdotool click 1; sleep 0.5; }

start() {
  QT_QPA_PLATFORM=xcb ./chixuebao >>"$work/app.log" 2>&1 &
  app_pid=$!
}
# Waits for the main window; a message box of the program (title 驰学宝)
# before it is answered with Return and its count goes to BOXES.
BOXES=0
main_window() {
  local i box
  BOXES=0
  for ((i = 0; i < 150; i++)); do
    box=$(xdotool search --onlyvisible --name '^驰学宝$' 2>/dev/null | head -n 1)
    if [ -n "$box" ]; then BOXES=$((BOXES + 1)); key "$box" Return; continue; fi
    WIN=$(xdotool search --onlyvisible --name '^初步练习' 2>/dev/null | head -n 1)
    [ -n "$WIN" ] && { sleep 0.5; return 0; }
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended during its start"
    sleep 0.2
  done
  fail "no main window in beginner practice"
}
ended() { # waits for the program to end; its exit status goes to STATUS
  local i
  for ((i = 0; i < 100; i++)); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$app_pid" 2>/dev/null && fail "the program still runs 20 s after $1"
  wait "$app_pid"
  STATUS=$?
  app_pid=""
}
hard_kill() { kill -9 "$app_pid"; wait "$app_pid" 2>/dev/null; app_pid=""; }
# Answers `n` questions of the list with A, moving on with Down between them.
answer() {
  local w="$1" n="$2" i
  for ((i = 1; i <= n; i++)); do
    key "$w" a
    [ "$i" -lt "$n" ] && key "$w" Down
  done
  sleep 1
}
expect_counted() { # the bank file holds every answer the journal took
  local journal counted
  journal=$(check answers "$run")
  counted=$(check counted "$run")
  [ "$counted" = "$journal" ] || fail "$1: the bank counts $counted answers, the journal took $journal"
  say "$1: $counted answers counted, as many as the journal took"
}

cp -a "$app_src/." "$run/" || fail "cannot copy the runnable folder"
rm -f "$run/bankdata/"*.tmp* "$run/bankdata/journal.db"* "$run/.chixuebao.lock"
[ -f "$run/bankdata/sys.dat" ] || fail "the runnable folder has no starter state file"
check prepare "$run" 20 5 || fail "cannot prepare sys.dat"
shipped_counted=$(check counted "$run")
[ "$shipped_counted" = 0 ] || fail "the shipped bank already counts $shipped_counted answers"

start_xvfb 1280x1024 "$work/xvfb.log" || fail "Xvfb did not start"
cd "$run" || fail "cannot enter $run"
unset WAYLAND_DISPLAY

# 1. Twenty answers, then kill -9: the bank file has none of them yet.
start
main_window
main=$WIN
[ "$BOXES" = 0 ] || fail "a message box at the first start"
click "$main" 765 527 # untick 自动进入下一题: only Down moves on
answer "$main" 20
taken=$(check answers "$run")
[ "$taken" = 20 ] || fail "the journal took $taken of the 20 answers"
hard_kill
[ "$(check counted "$run")" = 0 ] || fail "the bank was written although the program was killed"
say "20 answers given, $taken counted by the journal, then kill -9"

# 2. The next start takes them back (one message), SIGTERM closes it.
start
main_window
[ "$BOXES" = 1 ] || fail "the start after kill -9 showed $BOXES message boxes, not the one that tells of the recovery"
grep -q "上次没有正常关闭" "$work/app.log" && fail "the recovery was told on standard error only"
kill -TERM "$app_pid"
ended "SIGTERM"
[ "$STATUS" = 0 ] || fail "SIGTERM ended the program with status $STATUS"
expect_counted "after the recovery and SIGTERM"
check marked "$run" || fail "the journal is not marked after the SIGTERM close"

# 3. Two more answers, then SIGTERM: counted at once, no recovery next time.
start
main_window
main=$WIN
[ "$BOXES" = 0 ] || fail "a message box after a clean close"
before=$(check answers "$run")
answer "$main" 2
[ "$(check answers "$run")" -gt "$before" ] || fail "the journal took none of the two answers"
kill -TERM "$app_pid"
ended "SIGTERM"
expect_counted "two answers, then SIGTERM"

# 4. A mock exam handed in, then kill -9: its answers and its entry are kept.
start
main_window
main=$WIN
before=$(check answers "$run")
click "$main" 310 48 # Ima_kaoshi
wait_window '^模拟真实考试练习' 'mock exam caption'
sleep 2
for ((i = 1; i <= 5; i++)); do key "$main" b; key "$main" Down; done
click "$main" 1010 460 # 交卷
sleep 1.5
[ "$(check handins "$run")" = 1 ] || fail "the journal has no hand-in"
[ "$(check history "$run")" = 1 ] || fail "the hand-in was not saved into sys.dat"
[ "$(check answers "$run")" -gt "$before" ] || fail "the exam's answers are not in the journal"
hard_kill
start
main_window
[ "$BOXES" = 1 ] || fail "the start after the exam and kill -9 showed $BOXES message boxes"
kill -TERM "$app_pid"
ended "SIGTERM"
expect_counted "an exam handed in, then kill -9"
[ "$(check history "$run")" = 1 ] || fail "the history holds $(check history "$run") exams, not 1"
say "passed"
