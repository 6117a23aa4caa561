# Sourced: starts a private Xvfb display for this script's lifetime unless one is given.
# Sets DISPLAY; the trap stops only the server started here.
if [ -z "${TESSEL_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { TESSEL_XVFB_DISPLAY=":$n"; break; }
  done
  Xvfb "$TESSEL_XVFB_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  TESSEL_XVFB_PID=$!
  export DISPLAY="$TESSEL_XVFB_DISPLAY"
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
fi
