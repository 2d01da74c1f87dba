#!/usr/bin/env bash
# A Wine prefix made before wine32 was installed has no 32-bit side (an empty
# syswow64). Debian's wine then starts even the 64-bit program with the
# 32-bit loader, which fails in such a prefix. The scripts keep it working:
# the 64-bit program starts in it as it is, and where 32-bit programs can run,
# preparing the prefix again adds its 32-bit side, after which the program
# of either build starts, and what was set in the prefix stays.
# Usage: prefix_32bit_side.sh path/to/varnolt.exe (DISPLAY set).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/lib/wine.sh"
source "$here/../../scripts/lib/midi_mapper.sh"
export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/varnolt-prefix.XXXXXX)
shots="${TMPDIR:-/tmp}/varnolt-prefix-32bit-side"
source "$here/support/outside.sh"
on_exit() { wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"; }

make_test_prefix "" || fail "cannot make a prefix"
wine reg add "$MIDIMAP_KEY" /v CurrentInstrument /d "Chosen Synth" /f >/dev/null 2>&1
wineserver -w
rm -rf "$WINEPREFIX/drive_c/windows/syswow64"/*

if [[ "$(pe_machine "$exe")" == x86_64 ]]; then
    start_program "$exe"
    close_program
fi

make_test_prefix "" || fail "preparing the prefix again failed"
[[ -z "$(why_no_wine32)" ]] && ! has_32bit_side && fail "the prefix did not get its 32-bit side"
[[ "$(mapper_value CurrentInstrument)" == "Chosen Synth" ]] || fail "the prefix lost the mapper's instrument"
start_program "$exe"
close_program
echo "the $(pe_machine "$exe") program started in a prefix made without its 32-bit side, and again once it was prepared"
