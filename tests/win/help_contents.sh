#!/usr/bin/env bash
# Help > Contents where there is no help file: the help viewer says so in a
# box of its own. Once the user has answered it, the main window answers the
# keyboard again without a click (Run > Compose through its mnemonics), and
# when the program ends the viewer ends with it.
# Usage: help_contents.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set).
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
fail() { echo "FAIL: $*"; import -window root "$work/../varnolt-help-failure.png" 2>/dev/null; exit 1; }
viewers() {  # help viewers running in this prefix
    local p n=0
    for p in $(pgrep -f winhlp32); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && n=$((n + 1))
    done
    echo "$n"
}

[[ $(viewers) -eq 0 ]] || fail "a help viewer is running before the test"
mkdir -p "$work/start" && cd "$work/start" || exit 1   # ../Help/varnolt100.hlp does not exist here
wine "$exe" &
pid=$!
window=$(timeout 30 xdotool search --sync --name '^Varnolt$' | head -1)
[[ -n "$window" ]] || fail "no window named Varnolt appeared"
sleep 1

xdotool key alt+h c
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^ERROR$' | head -1)
[[ -n "$box" ]] || fail "the help viewer did not say that the file is missing"
sleep 0.5
xdotool key n
for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name '^ERROR$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^ERROR$' >/dev/null 2>&1 && fail "the viewer's box did not close on No"
sleep 0.5
import -window "$window" "$work/before.png" 2>/dev/null || fail "cannot take a picture of the window"

xdotool key alt+r c
changed=""
for _ in $(seq 1 25); do
    sleep 0.2
    import -window "$window" "$work/after.png" 2>/dev/null || continue
    differing=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 || true)
    [[ "$differing" =~ ^[0-9]+$ && "$differing" -gt 20 ]] && { changed=yes; break; }
done
[[ -n "$changed" ]] || fail "after the viewer's box the main window did not answer Alt+R, C"

xdotool key --window "$window" alt+F4
code=""
for _ in $(seq 1 100); do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; code=$?; break; fi
    sleep 0.1
done
[[ -n "$code" ]] || fail "the program did not end after its window was closed"
pid=""
[[ "$code" -eq 0 ]] || fail "the program ended with exit code $code"
for _ in $(seq 1 50); do
    [[ $(viewers) -eq 0 ]] && break
    sleep 0.1
done
[[ $(viewers) -eq 0 ]] || fail "the help viewer kept running after the program ended"
echo "after the help viewer's box the window answered the keyboard, and the viewer ended with the program"
