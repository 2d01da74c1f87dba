# Sourced by the tests that drive the real program from outside with xdotool:
# keys, typing, waiting for windows, and failing with a picture of the screen.
# The sourcing script sets shots (a folder for pictures) first. Sourcing makes
# a scratch folder $work, removed at exit together with the program ($pid)
# when it still runs; a script may define on_exit for more to undo then.

[[ -n "${DISPLAY:-}" && -n "${WINEPREFIX:-}" ]] || { echo "DISPLAY and WINEPREFIX must be set"; exit 1; }
export WINEDEBUG=-all
mkdir -p "$shots"
work=$(mktemp -d /tmp/varnolt-test.XXXXXX)
pid=""
finish() {
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null
    declare -F on_exit >/dev/null && on_exit
    rm -rf "$work"
}
trap finish EXIT

fail() {
    echo "FAIL: $*"
    import -window root "$shots/failure.png" 2>/dev/null
    exit 1
}
shot() { sleep 0.3; import -window root "$shots/$1.png" 2>/dev/null; }
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.05; done; }
repeat() { local n=$1 k=$2; for _ in $(seq 1 "$n"); do xdotool key "$k"; done; sleep 0.05; }
type_text() { xdotool type --delay 30 "$1"; }

wait_window() {  # caption [seconds, default 10]: the window id once it shows
    local w
    w=$(timeout "${2:-10}" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [[ -n "$w" ]] || fail "no window \"$1\" appeared"
    sleep 0.3
    echo "$w"
}
wait_gone() {  # caption
    for _ in $(seq 1 50); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "window \"$1\" did not close"
}
# In the Series sheet, from box n (1 = the first) of the page shown to the
# next page, by the keyboard: Shift+Tab from a page's first box reaches the
# tab strip, where Right changes the page; Tab from there enters its first box.
next_series_page() {  # box the focus is on
    repeat "$1" shift+Tab
    xdotool key Right; sleep 0.5
}
options_item() {  # position in the Options menu, caption of the dialog
    xdotool key alt+o; sleep 0.3
    repeat "$1" Down
    xdotool key Return
    wait_window "$2" >/dev/null
}

# Starts the program in the background as $pid and waits for its main window,
# whose id it puts in $main.
start_program() {  # exe
    wine "$1" &
    pid=$!
    main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Varnolt$' 2>/dev/null | head -1)
    [[ -n "$main" ]] || fail "no window named Varnolt appeared"
    sleep 1
}

# A picture of the window now, and then whether a later one differs from it:
# the toolbar's Save and Play are drawn disabled before Compose and enabled
# after, and nothing else in the window changes.
picture_window() {  # window
    import -window "$1" "$work/before.png" 2>/dev/null || fail "cannot take a picture of the window"
}
window_changed() {  # window: true once it differs from its picture, within 5 s
    local differing
    for _ in $(seq 1 25); do
        sleep 0.2
        import -window "$1" "$work/after.png" 2>/dev/null || continue
        differing=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 || true)
        [[ "$differing" =~ ^[0-9]+$ && "$differing" -gt 20 ]] && return 0
    done
    return 1
}

viewers() {  # help viewers running in this prefix
    local p n=0
    for p in $(pgrep -f winhlp32); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && n=$((n + 1))
    done
    echo "$n"
}

# Closes the main window and checks that the program, started in the
# background as $pid, ends with exit code 0.
close_program() {
    xdotool key alt+F4
    local code=""
    for _ in $(seq 1 100); do
        if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; code=$?; break; fi
        sleep 0.1
    done
    [[ -n "$code" ]] || fail "the program did not end after its window was closed"
    pid=""
    [[ "$code" -eq 0 ]] || fail "the program ended with exit code $code"
}

# The recording MIDI driver of the prefix offers the outputs named (separated
# by '|') and writes what reaches them to $log.
record_midi() {  # output names
    grep -qi 'varnoltrec' "$WINEPREFIX/user.reg" 2>/dev/null \
        || fail "the prefix $WINEPREFIX does not have the recording driver as its sound driver"
    log="$work/midi.log"
    export VARNOLT_MIDI_DEVICES="$1"
    export VARNOLT_MIDI_LOG="Z:${log//\//\\}"
}

# A Linux path as the program's dialogs take it.
windows_name() { local p="Z:$1"; echo "${p//\//\\}"; }

# Through a file dialog of this caption (Alt+F, then key), to the named file.
through_dialog() {  # key, caption, file
    keys alt+f "$1"
    wait_window "$2" >/dev/null
    type_text "$(windows_name "$3")"
    xdotool key Return
    wait_gone "$2"
}

# Waits up to 5 s for the file to be written.
written() { for _ in $(seq 1 50); do [[ -s "$1" ]] && return 0; sleep 0.1; done; return 1; }
