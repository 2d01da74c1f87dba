# Sourced by the scripts: whether this machine runs 32-bit programs, and so
# the 32-bit Windows build under Wine. Some kernels run no 32-bit code at all
# ("Exec format error"); there wine32 installs but cannot start, and Debian's
# wine, which prefers it once installed, stops working altogether.

VARNOLT_TOP="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Folders to run the probe from: the temporary folder, then the builds' own
# where it exists already. A folder mounted noexec runs no program at all,
# whatever its bits. The probe makes no folder that stays: scripts/setup runs
# it as root, and a build folder made then would be root's.
probe_folders() {
  local builds="${VARNOLT_BUILD_ROOT:-$VARNOLT_TOP/build}"
  [[ "$builds" == /* ]] || builds="$VARNOLT_TOP/$builds"
  echo "${TMPDIR:-/tmp}"
  [[ -d "$builds" ]] && echo "$builds"
  return 0
}

# Runs a 96-byte i386 Linux program that only exits with 42: a sure test that
# needs nothing installed. Returns 0 when it ran, 1 when the kernel refused
# it, 2 when no folder could run a program at all (then nothing is known).
# Safe under set -e: only its own result can fail.
runs_32bit_code() {
  local folder place probe ran code=2
  while read -r folder; do
    # A folder of its own, removed with all in it.
    place=$(mktemp -d "$folder/varnolt-i386-probe.XXXXXX" 2>/dev/null) || continue
    probe="$place/probe"
    # A script tells whether the folder runs programs; the probe, whether the
    # kernel runs 32-bit ones. Both fail alike (126) otherwise.
    ran=0
    printf '#!/bin/sh\nexit 7\n' >"$probe" && chmod +x "$probe" && { "$probe" 2>/dev/null || ran=$?; }
    if [[ $ran -ne 7 ]]; then rm -rf "$place"; continue; fi
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
    ran=0
    "$probe" 2>/dev/null || ran=$?
    [[ $ran -eq 42 ]] && code=0 || code=1
    rm -rf "$place"
    break
  done < <(probe_folders)
  return $code
}

# Wine's 32-bit loader, which wine32 installs.
WINE32_LOADER=/usr/lib/wine/wine

# Why 32-bit Windows programs cannot run here, or nothing when they can.
why_no_wine32() {
  local known=0
  runs_32bit_code || known=$?
  case $known in
    1) echo "this machine runs no 32-bit programs (its kernel has no 32-bit support)"; return ;;
    2) echo "no folder here runs programs (tried $(probe_folders | paste -sd ' ' -): mounted noexec), so whether 32-bit programs run is unknown"; return ;;
  esac
  [[ -x "$WINE32_LOADER" ]] || echo "wine32 is not installed (scripts/setup --32bit installs it)"
}
