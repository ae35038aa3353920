#!/usr/bin/env bash
# End-to-end run of the real program under its own X server: a first start in
# a fresh copy of the runnable folder (no state file), the settings dialog,
# beginner practice by keys, a short mock exam handed in, the history and the
# export, and the close; then the state file, the bank and the exported pages
# on disk are checked.
#
#   run_e2e.sh APP_DIR      (APP_DIR: the runnable folder, build/app)
#
# Needs Xvfb, xdotool and ImageMagick's import (scripts/setup.sh
# --tests). Screenshots of every step are kept, with the folder, only when a
# step fails.
set -uo pipefail

app_src="${1:?usage: run_e2e.sh APP_DIR}"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../support/xvfb.sh
source "$here/../support/xvfb.sh"
check="$here/e2e_check.py"

BEGINNER=10 # questions in the beginner list (default beginnerCount)
EXAM=5      # exam size set in the settings dialog

for tool in Xvfb xdotool import python3; do
  command -v "$tool" >/dev/null || { echo "E2E FAILED: $tool is missing (scripts/setup.sh --tests installs it)" >&2; exit 1; }
done
for f in chixuebao 皮肤.ini skin bankdata/小车.tk bankdata/客车.tk bankdata/货车.tk bankdata/pics; do
  [ -e "$app_src/$f" ] || { echo "E2E FAILED: $app_src/$f is missing: build chixuebao, content_banks and content_art first" >&2; exit 1; }
done

RUN_TAG=e2e
RUN_FAILED="E2E FAILED"
# shellcheck source=../support/x_session.sh
source "$here/../support/x_session.sh"

# Runs a phase of e2e_check.py, retrying for a few seconds while the program
# finishes its write.
expect_files() {
  local phase="$1" what="$2" i out
  for ((i = 0; i < 20; i++)); do
    out=$(python3 "$check" "$phase" "$run" 2>&1) && return 0
    sleep 0.5
  done
  fail "$what:"$'\n'"$out"
}

# 1. A fresh copy of the runnable folder without a state file or earlier pages.
say "copying $app_src to $run"
cp -a "$app_src/." "$run/" || fail "cannot copy the runnable folder"
rm -f "$run/bankdata/sys.dat" "$run/bankdata/"*.tmp* "$run/bankdata/journal.db"* "$run/h.htm" "$run/n.htm"
shipped_bank="$work/小车.shipped.tk"
cp "$run/bankdata/小车.tk" "$shipped_bank"

# 2. Our own X server on a free display.
start_xvfb 1280x1024 "$work/xvfb.log" || { keep=1; echo "E2E FAILED: Xvfb did not start (see $work/xvfb.log)" >&2; exit 1; }
say "Xvfb on $DISPLAY"

# 3. The program, in its folder, on the X server.
cd "$run" || fail "cannot enter $run"
unset WAYLAND_DISPLAY
QT_QPA_PLATFORM=xcb ./chixuebao >"$work/app.log" 2>&1 &
app_pid=$!
say "program started (pid $app_pid)"

# First start: the state file is missing (code 1) ...
wait_window '^驰学宝$' 'message box for the missing state file' 60
box=$WIN
shot first-start-code1
key "$box" Return
wait_gone "$box" 'the message box of code 1'
# ... and the bank path of the new state file is empty (code 2).
wait_window '^驰学宝$' 'message box for the bank that cannot be opened'
box=$WIN
shot first-start-code2
expect_files first-start 'the state file made at the first start'
key "$box" Return
wait_gone "$box" 'the message box of code 2'

# The settings dialog opens by itself, with its hint over it.
wait_window '^设置 [0-9]+年题库$' 'settings dialog at the first start'
settings=$WIN
wait_window '^驰学宝$' 'hint "请选择题库！然后确定。" over the settings dialog'
hint=$WIN
shot settings-hint
key "$hint" Return
wait_gone "$hint" 'the hint box'
# Exam count: edtkaoshitishu at (200, 186) in the counts frame at (12, 174),
# 120 x 26 (SettingsDialog.cpp).
click "$settings" 272 373
key "$settings" ctrl+a
xdotool type --delay 80 "$EXAM"
sleep 0.3
shot settings-filled
# 小车 stays chosen; OK is the default button.
key "$settings" Return
wait_gone "$settings" 'the settings dialog'
say "settings confirmed"

# 4. The main window with a beginner list; no small-screen warning on 1280 pixels.
wait_window '^初步练习' 'main window in beginner practice'
main=$WIN
sleep 1
no_box 'after the main window appeared (1280 pixels wide: no small-screen warning)'
expect_files settings 'the state file after OK in the settings dialog'
shot main-window

# Untick "自动进入下一题" (CheckBox2 at (750, 416) of pnl2, pnl2 at y 100), so
# that only the Down key moves on.
click "$main" 765 527
# A answers, or on a multiple-choice question ticks box A and Enter is 完成.
for ((i = 1; i <= BEGINNER; i++)); do
  key "$main" a
  key "$main" Return
  key "$main" Down
  if [ "$i" -lt "$BEGINNER" ]; then
    no_box "after question $i of the beginner list (a missing picture?)"
  fi
done
# Down at the last entry ends the pass: a message box (the wrong ones again, or
# all solved and a new list).
wait_window '^驰学宝$' 'message box at the end of the beginner list' 20
box=$WIN
shot beginner-end
key "$box" Return
wait_gone "$box" 'the end-of-list message box'
say "beginner list answered"

# 5. Mock exam: Ima_kaoshi, the 4th picture of the tool strip (ToolStrip.cpp:
# x 14 + 85 + 88 + 85 = 272, y 10, 77 pixels).
click "$main" 310 48
wait_window '^模拟真实考试练习' 'mock exam caption'
sleep 2 # the start display of the picker lasts 1.3 s
no_box 'after the exam started'
shot exam-started
# The exam leaves CheckBox2 as the end of the beginner pass left it: ticked.
click "$main" 765 527
for ((i = 1; i <= EXAM; i++)); do
  key "$main" b
  key "$main" Return
  key "$main" Down
  no_box "after exam question $i"
done
shot exam-answered
# 交卷: JIAOJUAN at (960, 340) of pnl2, 100 x 40 (QuestionPanel.cpp).
click "$main" 1010 460
sleep 1
no_box 'after the hand-in'
expect_files handed-in 'the state file after the hand-in'
shot exam-result
say "exam handed in"

# 6. History: img_lishi, the 7th picture (x 14 + 85 + 88 + 4 x 85 = 527).
click "$main" 565 48
wait_window '^历史考试$' 'history dialog'
hist=$WIN
shot history
# First row of lv1 (at (8, 8), header above the rows), then 导出、打印 (btn4,
# the third button of the right column).
click "$hist" 60 36
click "$hist" 470 169
no_box 'after 导出、打印 (no row chosen, or a paper of another bank?)'
wait_window '^导出$' 'export dialog'
exportdlg=$WIN
sleep 1
shot export
expect_files pages 'the exported pages'
key "$exportdlg" Escape
wait_gone "$exportdlg" 'the export dialog'
# The history dialog stays open behind the export.
[ -n "$(visible '^历史考试$')" ] || fail "the history dialog closed with the export dialog"
key "$hist" Escape
wait_gone "$hist" 'the history dialog'
no_box 'after the history dialog closed'
shot history-closed
say "history and export done"

# 7. Close by img5 in the top right corner (x 1086 - 46, y 12, 32 x 32).
focus "$main"
click "$main" 1056 28
for ((i = 0; i < 100; i++)); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$app_pid" 2>/dev/null; then
  fail "the program is still running 20 s after the click on img5"
fi
wait "$app_pid"
rc=$?
app_pid=""
[ "$rc" = 0 ] || fail "the program ended with exit code $rc"
[ ! -e "$run/.chixuebao.lock" ] || fail "the folder's lock file is still there after the close"
say "program closed"

# 8. What the run left on disk.
out=$(python3 "$check" final "$run" "$shipped_bank" "$started" "$(date +%s)" "$BEGINNER" "$EXAM" 2>&1) ||
  fail "the files after the run:"$'\n'"$out"
say "passed: state file, bank counters, history entry and exported pages check out"
