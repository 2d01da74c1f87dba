# Sourced by the scripts: a private Wine prefix and, when no display is set,
# a virtual X display. Call wine_prepare PREFIX_DIR, then wine_cleanup at exit.
# Every program starts under the loader of its own bitness (wine-bin/wine).

VARNOLT_SCRIPT_LIB="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$VARNOLT_SCRIPT_LIB/pe.sh"
source "$VARNOLT_SCRIPT_LIB/i386.sh"
case ":$PATH:" in
  *":$VARNOLT_SCRIPT_LIB/wine-bin:"*) ;;
  *) export PATH="$VARNOLT_SCRIPT_LIB/wine-bin:$PATH" ;;
esac
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

# A prefix made before wine32 was installed has no 32-bit side, and no 32-bit
# program starts in it; Wine's update of the prefix adds that side, keeping
# all that was set in it. Wine updates a prefix only when the prefix's
# .update-timestamp differs from its own, and such a prefix has Wine's
# timestamp already: without it, the update runs. Its 64-bit loader does the
# work (wine-bin/wine sends Wine's tools there), since the 32-bit one cannot
# start in the prefix yet. Nothing to do where 32-bit programs cannot run.
# False when the side is still missing.
has_32bit_side() {
  [[ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]]
}
give_32bit_side() {
  [[ -z "$(why_no_wine32)" ]] || return 0
  has_32bit_side && return 0
  echo "Adding the 32-bit side to the Wine prefix $WINEPREFIX ..."
  # A server still running for the prefix (a program just ended in it)
  # lets the update run without adding that side (measured): it goes first.
  wineserver -k >/dev/null 2>&1
  rm -f "$WINEPREFIX/.update-timestamp"
  wineboot -u >/dev/null 2>&1
  wineserver -w
  has_32bit_side
}

# Creates the prefix WINEPREFIX once, with the settings the tests rely on and
# the given sound driver ("" for none). A prefix that exists is kept, and
# given its 32-bit side where it lacks it. Only a test prefix (these scripts
# made it: .varnolt-ready) that still lacks that side after Wine's update is
# made anew; the prefix of scripts/run that the user plays in is not made
# here and never deleted.
make_test_prefix() {  # audio driver name
  if [[ -f "$WINEPREFIX/.varnolt-ready" ]]; then
    give_32bit_side && return 0
    echo "The Wine prefix $WINEPREFIX did not get its 32-bit side: making it anew."
    rm -rf "$WINEPREFIX"
  fi
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
# Windows build), copied in anew each time, among the 32-bit system files
# when it is a 32-bit driver. It gets a persistent server of its
# own; WINEPREFIX stays as it was. Call after wine_prepare.
VARNOLT_MIDI_PREFIX=""
wine_prepare_midi() {  # prefix dir, driver file
  local prefix="$1" driver="$2" name
  name=$(basename "$driver" .drv)
  name=${name#wine}
  (
    export WINEPREFIX="$prefix"
    make_test_prefix "$name"
    system=system32
    [[ "$(pe_machine "$driver")" == i386 ]] && system=syswow64
    cp "$driver" "$WINEPREFIX/drive_c/windows/$system/" || exit 1
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
    unset DISPLAY
  fi
}
