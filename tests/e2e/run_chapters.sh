#!/usr/bin/env bash
# The real program under its own X server, as a new learner uses the lists by
# topic and the stars: 章节练习 (Ctrl+6) opens the chapter window, 道路交通信号
# → 标志 is chosen by keys, ten of its questions are answered by keys (one of
# them wrong) and two starred with Ctrl+D; the program is closed, started
# again, and 我的收藏 (Ctrl+8) holds just the two, which are answered. After
# each start the bank's counters and the journal's stars are checked.
#
#   run_chapters.sh APP_DIR      (APP_DIR: the runnable folder, build/app)
#
# Needs Xvfb, xdotool and ImageMagick's import (scripts/setup.sh --tests).
# Screenshots of every step are kept, with the folder, only when a step fails.
set -uo pipefail

app_src="${1:?usage: run_chapters.sh APP_DIR}"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../support/xvfb.sh
source "$here/../support/xvfb.sh"
check="$here/chapters_check.py"

TOPIC=标志
PRACTISED=10 # questions of the topic answered
WRONG_AT=3   # the one answered wrong
STARRED_AT=(2 5)

for tool in Xvfb xdotool import python3; do
  command -v "$tool" >/dev/null || { echo "CHAPTERS E2E FAILED: $tool is missing (scripts/setup.sh --tests installs it)" >&2; exit 1; }
done
for f in chixuebao skin bankdata/小车.tk bankdata/sys.dat; do
  [ -e "$app_src/$f" ] || { echo "CHAPTERS E2E FAILED: $app_src/$f is missing: build chixuebao, content_banks, content_art and content_state first" >&2; exit 1; }
done

RUN_TAG=chapters
RUN_FAILED="CHAPTERS E2E FAILED"
# shellcheck source=../support/x_session.sh
source "$here/../support/x_session.sh"

start() {
  QT_QPA_PLATFORM=xcb ./chixuebao >>"$work/app.log" 2>&1 &
  app_pid=$!
  wait_window '^初步练习' 'main window in beginner practice' 60
  main=$WIN
  sleep 1
  no_box "at the start"
}

# Every list starts with 自动进入下一题 ticked: untick it (CheckBox2 at
# (750, 416) of pnl2, pnl2 at y 100), so that only the Down key moves on.
manual_next() { click "$main" 765 527; }

# Closes by img5 in the top right corner (x 1086 - 46, y 12, 32 x 32).
close_program() {
  focus "$main"
  click "$main" 1056 28
  local i
  for ((i = 0; i < 100; i++)); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.2
  done
  kill -0 "$app_pid" 2>/dev/null && fail "the program is still running 20 s after the click on img5"
  wait "$app_pid"
  local rc=$?
  app_pid=""
  [ "$rc" = 0 ] || fail "the program ended with exit code $rc"
}

expect_files() {
  local phase="$1" what="$2" i out
  for ((i = 0; i < 20; i++)); do
    out=$(python3 "$check" "$phase" "$shipped_bank" "$run" "$right" "$wrong" "$starred" 2>&1) && return 0
    sleep 0.5
  done
  fail "$what:"$'\n'"$out"
}

# 1. A fresh copy of the runnable folder: the shipped starter state file, no
# journal (a learner who has never answered).
say "copying $app_src to $run"
cp -a "$app_src/." "$run/" || fail "cannot copy the runnable folder"
rm -f "$run/bankdata/"*.tmp* "$run/bankdata/journal.db"* "$run/.chixuebao.lock" "$run/h.htm" "$run/n.htm"
shipped_bank="$work/小车.shipped.tk"
cp "$run/bankdata/小车.tk" "$shipped_bank"

# Where the topic's row is in the chapter window and how to answer its
# first questions, from the bank.
plan=$(python3 "$check" plan "$run" "$TOPIC" "$PRACTISED") || fail "no plan for $TOPIC: $plan"
downs=$(sed -n 1p <<<"$plan")
mapfile -t questions < <(sed -n '2,$p' <<<"$plan")
[ "${#questions[@]}" = "$PRACTISED" ] || fail "$TOPIC has ${#questions[@]} questions, not $PRACTISED"
right="" wrong="" starred=""
for ((i = 1; i <= PRACTISED; i++)); do
  read -r id _ _ <<<"${questions[i - 1]}"
  if [ "$i" = "$WRONG_AT" ]; then wrong="$id"; else right="${right:+$right,}$id"; fi
  for s in "${STARRED_AT[@]}"; do [ "$i" = "$s" ] && starred="${starred:+$starred,}$id"; done
done

start_xvfb 1280x1024 "$work/xvfb.log" || { keep=1; echo "CHAPTERS E2E FAILED: Xvfb did not start (see $work/xvfb.log)" >&2; exit 1; }
say "Xvfb on $DISPLAY"
cd "$run" || fail "cannot enter $run"
unset WAYLAND_DISPLAY

# 2. The first start: 章节练习 by Ctrl+6, the topic's row by the arrows, Enter.
start
shot first-start
key "$main" ctrl+6
wait_window '^章节练习、专项练习$' 'chapter window after Ctrl+6'
chapters=$WIN
sleep 0.5
shot chapter-window
key "$chapters" Home
for ((i = 0; i < downs; i++)); do key "$chapters" Down; done
shot topic-chosen
key "$chapters" Return
wait_gone "$chapters" 'the chapter window after Enter'
wait_window "^$TOPIC" "the $TOPIC list's caption"
no_box "after $TOPIC was chosen"
manual_next
say "$TOPIC chosen in the chapter window"

# 3. Ten questions by keys, one wrong, two starred with Ctrl+D.
for ((i = 1; i <= PRACTISED; i++)); do
  read -r id good bad <<<"${questions[i - 1]}"
  for s in "${STARRED_AT[@]}"; do [ "$i" = "$s" ] && key "$main" ctrl+d; done
  if [ "$i" = "$WRONG_AT" ]; then keys "$main" "$bad"; else keys "$main" "$good"; fi
  no_box "after question $i (id $id)"
  [ "$i" -lt "$PRACTISED" ] && key "$main" Down
done
shot practised
say "$PRACTISED questions answered (id $wrong wrong), ids $starred starred"
close_program
expect_files practised "the bank and the journal after the close"
say "closed; counters and stars kept"

# 4. The second start: 我的收藏 by Ctrl+8 holds the two starred questions.
start
key "$main" ctrl+8
wait_window '^我的收藏' '我的收藏 caption after Ctrl+8'
no_box "after Ctrl+8 (no favourites?)"
manual_next
shot favourites
mapfile -t favourites < <(grep -E "^(${starred//,/|}) " <<<"$plan")
[ "${#favourites[@]}" = 2 ] || fail "the plan lacks the starred questions"
for ((i = 1; i <= 2; i++)); do
  read -r id good _ <<<"${favourites[i - 1]}"
  keys "$main" "$good"
  no_box "after favourite $i (id $id)"
  [ "$i" -lt 2 ] && key "$main" Down
done
shot favourites-answered
close_program
expect_files favourites "the bank and the journal after the second close"
say "passed: the topic list, the stars, 我的收藏 and the counters check out"
