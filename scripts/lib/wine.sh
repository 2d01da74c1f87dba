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

# Creates the prefix WINEPREFIX once, with the settings the tests rely on and
# the given sound driver ("" for none).
make_test_prefix() {  # audio driver name
  [[ -f "$WINEPREFIX/.varnolt-ready" ]] && return 0
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d "" /f >/dev/null 2>&1
  # What WINEDEBUG=+relay shows: the calls of the multimedia timers.
  wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude \
    /d 'winmm.timeGetDevCaps;winmm.timeBeginPeriod;winmm.timeEndPeriod;winmm.timeSetEvent' /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.varnolt-ready"
}

# The prefix without sound, for every test but those driving the program from outside.
wine_prepare() {
  export WINEPREFIX="$1"
  make_test_prefix ""
  start_virtual_display
  wineserver -p
  wine cmd /c exit 0 >/dev/null 2>&1 || true
}

# A second prefix for the tests that drive the program from outside: its
# sound driver is the recording MIDI driver (a wine<NAME>.drv built with the
# Windows build), copied in anew each time. It gets a persistent server of its
# own; WINEPREFIX stays as it was. Call after wine_prepare.
VARNOLT_MIDI_PREFIX=""
wine_prepare_midi() {  # prefix dir, driver file
  local prefix="$1" driver="$2" name
  name=$(basename "$driver" .drv)
  name=${name#wine}
  (
    export WINEPREFIX="$prefix"
    make_test_prefix "$name"
    cp "$driver" "$WINEPREFIX/drive_c/windows/system32/" || exit 1
    wineserver -p
    wine cmd /c exit 0 >/dev/null 2>&1 || true
  ) || return 1
  VARNOLT_MIDI_PREFIX="$prefix"
}

wine_cleanup() {
  [[ -n "$VARNOLT_MIDI_PREFIX" ]] && { WINEPREFIX="$VARNOLT_MIDI_PREFIX" wineserver -k 2>/dev/null || true; }
  VARNOLT_MIDI_PREFIX=""
  [[ -n "${WINEPREFIX:-}" ]] && { wineserver -k 2>/dev/null || true; }
  if [[ -n "$VARNOLT_XVFB_PID" ]]; then
    kill "$VARNOLT_XVFB_PID" 2>/dev/null || true
    wait "$VARNOLT_XVFB_PID" 2>/dev/null || true
    VARNOLT_XVFB_PID=""
  fi
}
