#!/usr/bin/env bash
# The window on the screens learners have, under a real X server: 1366 × 768,
# 2560 × 1440 at scale 2 and 1280 × 1024 with text at 125 %. On each, the
# window tests of ScreenFit run as X windows, then the real program starts
# in a copy of the runnable folder: its window, the settings and the
# history dialog must lie wholly on the screen with no message box, and the
# window must carry the program's window class and icon.
#
#   screens.sh UI_TESTS APP_DIR STARTSTATE [SHOT.png]
#
# STARTSTATE is the tool that writes the starter state file, so that the
# program starts without the first-start messages.
# SHOT.png, when given, receives a screenshot of the 1366 × 768 screen.
set -uo pipefail

usage="usage: screens.sh UI_TESTS APP_DIR STARTSTATE [SHOT.png]"
ui_tests="${1:?$usage}"
app_src="${2:?$usage}"
startstate="${3:?$usage}"
shot_file="${4:-}"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../support/xvfb.sh
source "$here/../support/xvfb.sh"
for tool in Xvfb xdotool xprop import; do
  command -v "$tool" >/dev/null || { echo "SCREENS FAILED: $tool is missing (scripts/setup.sh --tests)" >&2; exit 1; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/cxb-screens.XXXXXX")"
xvfb_pid=""
app_pid=""
failed=0
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "SCREENS FAILED ($case_name): $*" >&2
  [ -s "$work/app.log" ] && sed 's/^/  /' "$work/app.log" | tail -n 10 >&2
  failed=1
}

start_x() { start_xvfb "$1" "$work/xvfb.log"; }

stop() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  app_pid=""
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}

# The visible window whose title matches, within a few seconds.
window() { timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }

# Checks that window $1 lies wholly on the W × H screen; sets X Y WIDTH HEIGHT.
on_screen() {
  local win="$1" what="$2"
  eval "$(xdotool getwindowgeometry --shell "$win")"
  if [ "$X" -lt 0 ] || [ "$Y" -lt 0 ] || [ $((X + WIDTH)) -gt "$screen_w" ] || [ $((Y + HEIGHT)) -gt "$screen_h" ]; then
    fail "$what at $X,$Y ${WIDTH}x$HEIGHT is not wholly on the ${screen_w}x$screen_h screen"
    return 1
  fi
  echo "  $what: $X,$Y ${WIDTH}x$HEIGHT"
}

no_box() { [ -z "$(xdotool search --onlyvisible --name '^驰学宝$' 2>/dev/null)" ] || fail "a message box is open $*"; }

for spec in "1366x768|" "2560x1440|QT_SCALE_FACTOR=2" "1280x1024|QT_FONT_DPI=120"; do
  size="${spec%%|*}"
  extra="${spec#*|}"
  case_name="$size${extra:+ $extra}"
  screen_w="${size%x*}"
  screen_h="${size#*x}"
  echo "screen $case_name"
  start_x "$size" || { fail "no free display for Xvfb"; continue; }

  # The window tests, as real X windows.
  if ! env $extra QT_QPA_PLATFORM=xcb "$ui_tests" --gtest_filter='ScreenFit.*' >"$work/tests.log" 2>&1; then
    grep -E 'Failure|FAILED|screen ' "$work/tests.log" | head -n 20 >&2
    fail "the ScreenFit window tests failed"
  fi
  grep '^screen ' "$work/tests.log" | sed 's/^/  /'

  # The real program in a copy of the runnable folder.
  rm -rf "$work/app"
  cp -a "$app_src/." "$work/app/"
  rm -f "$work/app/bankdata/sys.dat" "$work/app/.chixuebao.lock"
  "$startstate" "$work/app/bankdata/sys.dat" >/dev/null || fail "cannot write the starter state file"
  (cd "$work/app" && exec env $extra QT_QPA_PLATFORM=xcb ./chixuebao >"$work/app.log" 2>&1) &
  app_pid=$!
  main=$(window '^初步练习' 60)
  if [ -z "$main" ]; then
    fail "the main window did not appear"
    stop
    continue
  fi
  sleep 1
  no_box "after the start"
  on_screen "$main" "main window"
  k_num=$WIDTH # device pixels per 1086 design pixels
  wm_class=$(xprop -id "$main" WM_CLASS 2>/dev/null)
  [[ "$wm_class" == *'"chixuebao", "chixuebao"'* ]] || fail "the window class is $wm_class"
  icon=$(xprop -id "$main" _NET_WM_ICON 2>/dev/null | head -c 300)
  [[ "$icon" == *'Icon ('* ]] || fail "the window has no icon"
  if [ "$size" = 1366x768 ] && [ -n "$shot_file" ]; then
    import -display "$DISPLAY" -window root "$shot_file" 2>/dev/null
  fi

  # 设置 (img_shezhi, design centre 650, 48) and 历史 (img_lishi, 565, 48).
  for dialog in "650|^设置 |settings" "565|^历史考试\$|history"; do
    IFS='|' read -r cx regex what <<<"$dialog"
    xdotool mousemove --window "$main" $((cx * k_num / 1086)) $((48 * k_num / 1086))
    sleep 0.3
    xdotool click 1
    d=$(window "$regex" 20)
    if [ -z "$d" ]; then
      fail "the $what dialog did not open"
      continue
    fi
    sleep 0.5
    on_screen "$d" "$what dialog"
    no_box "with the $what dialog"
    # Esc closes the dialog (real key presses into the focused window).
    for ((i = 0; i < 10; i++)); do
      [ "$(xdotool getwindowfocus 2>/dev/null)" = "$d" ] && break
      xdotool windowfocus "$d" 2>/dev/null
      sleep 0.2
    done
    xdotool key Escape
    for ((i = 0; i < 25; i++)); do
      xdotool search --onlyvisible --name "$regex" 2>/dev/null | grep -qx "$d" || break
      sleep 0.2
    done
  done
  stop
done

if [ "$failed" = 0 ]; then
  echo "SCREENS OK"
  exit 0
fi
exit 1
