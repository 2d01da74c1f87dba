# Sourced by the scripts: a private Wine prefix and, when no display is set,
# a virtual X display. Call wine_prepare PREFIX_DIR, then wine_cleanup at exit.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
VARNOLT_XVFB_PID=""

# Starts Xvfb on the first free display number unless DISPLAY is set.
start_virtual_display() {
  [[ -n "${DISPLAY:-}" ]] && return 0
  local n
  for n in $(seq 90 140); do
    [[ -e /tmp/.X${n}-lock || -e /tmp/.X11-unix/X${n} ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    VARNOLT_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$VARNOLT_XVFB_PID" 2>/dev/null || true
    VARNOLT_XVFB_PID=""
    unset DISPLAY
  done
  echo "Cannot start a virtual display" >&2
  return 1
}

# Creates the prefix once, with the settings the tests rely on.
wine_prepare() {
  export WINEPREFIX="$1"
  if [[ ! -f "$WINEPREFIX/.varnolt-ready" ]]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d "" /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.varnolt-ready"
  fi
  start_virtual_display
  wineserver -p
  wine cmd /c exit 0 >/dev/null 2>&1 || true
}

wine_cleanup() {
  [[ -n "${WINEPREFIX:-}" ]] && { wineserver -k 2>/dev/null || true; }
  if [[ -n "$VARNOLT_XVFB_PID" ]]; then
    kill "$VARNOLT_XVFB_PID" 2>/dev/null || true
    wait "$VARNOLT_XVFB_PID" 2>/dev/null || true
    VARNOLT_XVFB_PID=""
  fi
}
