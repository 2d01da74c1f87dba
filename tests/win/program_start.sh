#!/usr/bin/env bash
# Starts the real program on the X display, finds its window from outside,
# composes through the menu's mnemonics (Run > Compose), closes the window and
# checks that the program ended with exit code 0. The window's picture tells
# whether Compose ran: nothing in it changes but the toolbar, whose Save and
# Play buttons are drawn disabled before and enabled after.
# Usage: program_start.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
exe="$1"
[[ -n "${DISPLAY:-}" && -n "${WINEPREFIX:-}" ]] || { echo "DISPLAY and WINEPREFIX must be set"; exit 1; }
export WINEDEBUG=-all
work=$(mktemp -d)
pid=""
finish() {
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
fail() { echo "FAIL: $*"; exit 1; }

window_shot() {  # window, file
    import -window "$1" "$2" 2>/dev/null
}

wine "$exe" &
pid=$!
window=$(timeout 30 xdotool search --sync --name '^Varnolt$' | head -1)
[[ -n "$window" ]] || fail "no window named Varnolt appeared"
sleep 1
window_shot "$window" "$work/before.png" || fail "cannot take a picture of the window"

xdotool key alt+r c
changed=""
for _ in $(seq 1 30); do
    sleep 0.2
    window_shot "$window" "$work/after.png" || continue
    differing=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 || true)
    [[ "$differing" =~ ^[0-9]+$ && "$differing" -gt 20 ]] && { changed=yes; break; }
done
[[ -n "$changed" ]] || fail "Run > Compose did not enable the toolbar"

xdotool key alt+F4
code=""
for _ in $(seq 1 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        code=$?
        break
    fi
    sleep 0.1
done
[[ -n "$code" ]] || fail "the program did not end after its window was closed"
pid=""
[[ "$code" -eq 0 ]] || fail "the program ended with exit code $code"
echo "the program composed through its menu and ended with exit code 0"
