#!/usr/bin/env bash
# Help > Contents where there is no help file: the help viewer says so in a
# box of its own. Once the user has answered it, the main window answers the
# keyboard again without a click (Run > Compose through its mnemonics), and
# when the program ends the viewer ends with it.
# Usage: help_contents.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
shots="${TMPDIR:-/tmp}/varnolt-help-contents"
source "$here/support/outside.sh"

[[ $(viewers) -eq 0 ]] || fail "a help viewer is running before the test"
mkdir -p "$work/start" && cd "$work/start" || exit 1   # ../Help/varnolt100.hlp does not exist here
start_program "$exe"
xdotool key alt+h c
wait_window ERROR 30 >/dev/null    # the viewer's own box
xdotool key n
wait_gone ERROR
sleep 0.5
picture_window "$main"
xdotool key alt+r c
window_changed "$main" || fail "after the viewer's box the main window did not answer Alt+R, C"

close_program
for _ in $(seq 1 50); do
    [[ $(viewers) -eq 0 ]] && break
    sleep 0.1
done
[[ $(viewers) -eq 0 ]] || fail "the help viewer kept running after the program ended"
echo "after the help viewer's box the window answered the keyboard, and the viewer ended with the program"
