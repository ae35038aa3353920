#!/usr/bin/env bash
# The real program under its own X server and D-Bus session with the
# accessibility bus, its AT-SPI tree walked by atspi_walk.py.
#
#   run_atspi.sh APP_DIR STARTSTATE
#
# APP_DIR is the runnable folder (build/app), STARTSTATE the tool that
# writes the starter state file: the program starts on the car bank without
# a first-start dialog.
set -uo pipefail

app_src="${1:?usage: run_atspi.sh APP_DIR STARTSTATE}"
startstate="${2:?usage: run_atspi.sh APP_DIR STARTSTATE}"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../support/xvfb.sh
source "$here/../support/xvfb.sh"
for tool in Xvfb dbus-run-session /usr/bin/python3 /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "A11Y FAILED: $tool is missing (scripts/setup.sh --tests installs it)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
  { echo "A11Y FAILED: the AT-SPI introspection data (gir1.2-atspi-2.0) is missing" >&2; exit 1; }
[ -x "$app_src/chixuebao" ] || { echo "A11Y FAILED: $app_src/chixuebao is missing" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/cxb-a11y.XXXXXX")"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/app" && cp -a "$app_src/." "$work/app/" || { echo "A11Y FAILED: cannot copy $app_src" >&2; exit 1; }
rm -f "$work/app/.chixuebao.lock" "$work/app/bankdata/sys.dat"
"$startstate" "$work/app/bankdata/sys.dat" >/dev/null || { echo "A11Y FAILED: $startstate did not write the state file" >&2; exit 1; }

start_xvfb 1280x1024 "$work/xvfb.log" || { echo "A11Y FAILED: Xvfb did not start" >&2; exit 1; }

# Inside a private session bus: the accessibility bus comes up on demand
# (org.a11y.Bus), Qt's bridge is on without a screen reader asking for it.
dbus-run-session -- bash -c '
  set -u
  cd "$1/app" || exit 1
  export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
  unset WAYLAND_DISPLAY
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$1/bus.log" 2>&1 &
  bus=$!
  sleep 1
  ./chixuebao >"$1/app.log" 2>&1 &
  app=$!
  /usr/bin/python3 "$2/atspi_walk.py" "$app"
  rc=$?
  kill "$app" 2>/dev/null
  for ((i = 0; i < 25; i++)); do kill -0 "$app" 2>/dev/null || break; sleep 0.2; done
  kill -9 "$app" 2>/dev/null
  kill "$bus" 2>/dev/null
  if [ "$rc" != 0 ]; then echo "program output:"; tail -n 20 "$1/app.log"; fi
  exit "$rc"
' a11y "$work" "$here"
