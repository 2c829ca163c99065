# Sourced by test.sh and run.sh: makes sure an X display is there. Uses the
# one given in DISPLAY; otherwise starts a private Xvfb on a free display
# number and registers its stop (and Wine's server's) for when the script
# exits, whatever the way it exits.
PROJECT_XVFB_PID=""
project_stop_display() {
  if [[ -n "${WINEPREFIX:-}" ]] && command -v wineserver >/dev/null; then
    WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
  fi
  if [[ -n "$PROJECT_XVFB_PID" ]]; then
    kill "$PROJECT_XVFB_PID" >/dev/null 2>&1 || true
    wait "$PROJECT_XVFB_PID" 2>/dev/null || true
    PROJECT_XVFB_PID=""
  fi
}

project_start_display() {
  if [[ -n "${DISPLAY:-}" ]]; then return 0; fi
  local n
  for n in $(seq 40 79); do
    [[ -e "/tmp/.X$n-lock" || -e "/tmp/.X11-unix/X$n" ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    PROJECT_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      if [[ -e "/tmp/.X11-unix/X$n" ]]; then
        export DISPLAY=":$n"
        PROJECT_PRIVATE_DISPLAY=1
        return 0
      fi
      kill -0 "$PROJECT_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$PROJECT_XVFB_PID" >/dev/null 2>&1 || true
    PROJECT_XVFB_PID=""
  done
  echo "could not start Xvfb" >&2
  return 1
}
