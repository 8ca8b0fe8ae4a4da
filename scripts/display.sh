# Sourced (after wine-env.sh): gives the caller an X display, starting Xvfb when there is none.
# Each checkout has its own display number, so parallel checkouts neither share a display
# nor run out of numbers, and a display left running is used again by the next run.
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  n=$(( 100 + $(printf '%s' "${SORV_ROOT:-$PWD}" | cksum | cut -d' ' -f1) % 800 ))
  export DISPLAY=:$n
  if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    SORV_XVFB_PID=$!
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
fi
