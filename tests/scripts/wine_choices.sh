#!/usr/bin/env bash
# Which Wine the scripts start, and whether they can tell that this machine
# runs 32-bit programs. A user's own Wine first on the PATH must start
# everything itself (two Wine versions on one prefix refuse each other), a
# WINELOADER the user set is kept, and a temporary folder mounted noexec must
# not read as a machine without 32-bit support.
# Usage: wine_choices.sh path/to/scripts/lib
set -uo pipefail
lib="$1"
work=$(mktemp -d /tmp/varnolt-wine-choices.XXXXXX)
cleanup() { mountpoint -q "$work/noexec" && umount "$work/noexec"; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Stand-ins that say who was started: Debian's wine script with its loader and
# server, and a user's own wine with its server.
stub() { mkdir -p "$(dirname "$1")"; printf '#!/bin/sh\n%s\necho "%s $* |${WINELOADER:-}"\n' "${3:-}" "$2" >"$1"; chmod +x "$1"; }
stub "$work/debian/wine" wrapper "wine64=$work/debian/loader64"
stub "$work/debian/loader64" loader64
stub "$work/debian/wineserver" debian-server
stub "$work/own/wine" own-wine
stub "$work/own/wineserver" own-server
pe() { printf 'MZ' >"$1"; head -c 58 /dev/zero >>"$1"; printf '\x40\0\0\0PE\0\0'"$2" >>"$1"; }
pe "$work/x64.exe" '\x64\x86'
pe "$work/x86.exe" '\x4c\x01'

run() { PATH="$1:$lib/wine-bin:/usr/bin:/bin" "$lib/wine-bin/$2" "${@:3}"; }
expect() { [[ "$1" == "$2" ]] || fail "$3: started '$1', not '$2'"; }
expect "$(run "$work/debian" wine "$work/x64.exe")" "loader64 $work/x64.exe |$work/debian/loader64" "Debian's wine, a 64-bit program"
expect "$(run "$work/debian" wine "$work/x86.exe")" "wrapper $work/x86.exe |" "Debian's wine, a 32-bit program"
expect "$(run "$work/debian" wineboot -u)" "loader64 wineboot -u |$work/debian/loader64" "Debian's wine, its wineboot"
expect "$(WINELOADER=/mine run "$work/debian" wine "$work/x64.exe")" "loader64 $work/x64.exe |/mine" "the user's WINELOADER"
expect "$(run "$work/own:$work/debian" wine "$work/x64.exe")" "own-wine $work/x64.exe |" "the user's own wine"
expect "$(run "$work/own:$work/debian" wineserver -w)" "own-server -w |" "the user's own wine, its server"

# scripts/setup runs under set -e: the probe's own failing programs must not end it.
bash -ec 'source "$1"; why_no_wine32 >/dev/null' _ "$lib/i386.sh" || fail "the probe ends a script that runs under set -e"

# The probe leaves no folder behind: run as root, one would be root's.
mkdir "$work/tmp"
TMPDIR="$work/tmp" VARNOLT_BUILD_ROOT="$work/no-build" bash -c 'source "$1"; runs_32bit_code' _ "$lib/i386.sh"
[[ ! -e "$work/no-build" && -z "$(ls -A "$work/tmp")" ]] || fail "the probe left a folder: $(ls -A "$work" "$work/tmp")"

# The probe of 32-bit support, with the temporary folder mounted noexec and no
# build folder to run it from instead.
mkdir "$work/noexec"
if mount -t tmpfs -o noexec,size=1m tmpfs "$work/noexec" 2>/dev/null; then
  source "$lib/i386.sh"
  TMPDIR="$work/noexec" VARNOLT_BUILD_ROOT="$work/noexec/build" runs_32bit_code
  [[ $? -eq 2 ]] || fail "a noexec temporary folder passed for a sure answer"
  why=$(TMPDIR="$work/noexec" VARNOLT_BUILD_ROOT="$work/noexec/build" why_no_wine32)
  [[ "$why" == *noexec* ]] || fail "the reason does not name the noexec folder: $why"
  mkdir "$work/builds"
  TMPDIR="$work/noexec" VARNOLT_BUILD_ROOT="$work/builds" runs_32bit_code
  [[ $? -ne 2 ]] || fail "the build folder was not tried for the probe"
else
  echo "no mount here: the noexec probe was not tried"
fi
echo "PASS"
