# Sourced: gives the caller an X display, starting Xvfb on a free one when there is none.
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  _dfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$_dfile" </dev/null >/dev/null 2>&1 8>&- 9>&- &
  SORV_XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$_dfile" ] && break; sleep 0.1; done
  export DISPLAY=:$(head -n1 "$_dfile")
  rm -f "$_dfile"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
