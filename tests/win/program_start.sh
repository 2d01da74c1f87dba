#!/usr/bin/env bash
# Starts the real program on the X display, finds its window from outside,
# composes through the menu's mnemonics (Run > Compose), closes the window and
# checks that the program ended with exit code 0. The window's picture tells
# whether Compose ran: nothing in it changes but the toolbar, whose Save and
# Play buttons are drawn disabled before and enabled after.
# Usage: program_start.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
shots="${TMPDIR:-/tmp}/varnolt-program-start"
source "$here/support/outside.sh"

start_program "$exe"
picture_window "$main"
xdotool key alt+r c
window_changed "$main" || fail "Run > Compose did not enable the toolbar"
close_program
echo "the program composed through its menu and ended with exit code 0"
