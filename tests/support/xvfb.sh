# Sourced by the scripts that run the real program under their own X server.
#
#   start_xvfb WxH LOGFILE   starts Xvfb on a display it picks itself; sets
#                            xvfb_pid and exports DISPLAY; returns 1 if no
#                            server came up within ten seconds.
#
# Xvfb chooses the display with -displayfd, taking the lock file atomically,
# so tests that start at the same moment never share one display (picking a
# number by looking for free lock files let two runs meet on one server and
# type into each other's windows).
start_xvfb() {
  local size="$1" log="$2" numfile i n
  numfile="$(mktemp "${TMPDIR:-/tmp}/cxb-display.XXXXXX")" || return 1
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$numfile" >"$log" 2>&1 &
  xvfb_pid=$!
  n=""
  for ((i = 0; i < 100; i++)); do
    n="$(tr -dc '0-9' <"$numfile")"
    [ -n "$n" ] && grep -q $'\n' "$numfile" && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    n=""
    sleep 0.1
  done
  rm -f "$numfile"
  if [ -z "$n" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
    return 1
  fi
  export DISPLAY=":$n"
}
