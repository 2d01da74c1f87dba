#!/usr/bin/env bash
# Checks the release zips that scripts/package writes, as a Windows user gets
# them: each unpacks into one folder holding bin/varnolt.exe, the help file in
# Help/, README.txt, manual.html and LICENSE, and nothing else; each exe is
# stripped, imports only Windows' own DLLs and carries its version, icons and
# code page manifest. Then the zip of the given build (x64 or x86), unpacked
# into an empty folder and started in bin/ as Explorer starts it: Help > Contents opens the manual;
# the piece is composed and saved through the real save dialog into a folder
# named in Cyrillic; Help > Contents still opens the manual; the program ends
# with code 0 on Alt+F4 and has written nothing but that file, which an
# independent reader reads back.
# Usage: package_check.sh DIST_DIR [x64|x86] (DISPLAY and WINEPREFIX set).
set -uo pipefail
dist="$1"
run_arch="${2:-x64}"
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
shots="${TMPDIR:-/tmp}/varnolt-package-check"
source "$here/support/outside.sh"
clip=""
on_exit() { [[ -n "$clip" ]] && kill "$clip" 2>/dev/null; }

# The DLLs every Windows has; anything else would have to ship beside the exe.
system_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll winmm.dll msvcrt.dll advapi32.dll "

for arch in x64 x86; do
    top="varnolt-1.00-windows-$arch"
    zip="$dist/$top.zip"
    [[ -f "$zip" ]] || fail "no $zip"
    listing=$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')
    expected="$top/Help/varnolt100.cnt $top/Help/varnolt100.hlp $top/LICENSE $top/README.txt $top/bin/varnolt.exe $top/manual.html "
    [[ "$listing" == "$expected" ]] || fail "$zip holds: $listing"
    unzip -p "$zip" "$top/LICENSE" | tr -d '\r' | cmp -s - "$repo/LICENSE" || fail "$zip: LICENSE is not the project's"
    lines=$(unzip -p "$zip" "$top/README.txt" | wc -l)
    crlf=$(unzip -p "$zip" "$top/README.txt" | grep -c $'\r$')
    [[ "$lines" -gt 10 && "$crlf" -eq "$lines" ]] || fail "$zip: README.txt has $crlf CRLF ends in $lines lines"

    exe="$work/$arch/$top/bin/varnolt.exe"
    unzip -q "$zip" "$top/bin/varnolt.exe" -d "$work/$arch" || fail "cannot unpack $zip"
    symbols=$(x86_64-w64-mingw32-objdump -t "$exe" | grep -c '^\[')
    [[ "$symbols" -eq 0 ]] || fail "$arch: varnolt.exe is not stripped ($symbols symbols)"
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
    [[ -n "$dlls" ]] || fail "$arch: no imports found"
    for dll in $dlls; do
        [[ "$system_dlls" == *" $dll "* ]] || fail "$arch: varnolt.exe needs $dll, which Windows does not have"
    done
    /usr/bin/python3 "$here/check_release_exe.py" "$exe" || fail "$arch: the exe's resources are wrong"
done

# Help > Contents shows the manual in the help viewer, not the viewer's box
# that it cannot find the file. Then the user closes the viewer.
help_opens() {  # what the user did before
    local viewer=""
    xdotool key alt+h c
    for _ in $(seq 1 100); do
        xdotool search --onlyvisible --name '^ERROR$' >/dev/null 2>&1 \
            && fail "$1, Help > Contents did not find the manual"
        viewer=$(xdotool search --onlyvisible --name '^Wine Help$' 2>/dev/null | head -1)
        [[ -n "$viewer" ]] && break
        sleep 0.2
    done
    [[ -n "$viewer" ]] || fail "$1, Help > Contents showed no help viewer"
    shot "help-$2"
    xdotool mousemove --window "$viewer" 300 300 click 1
    sleep 0.3
    xdotool key alt+F4
    for _ in $(seq 1 50); do [[ $(viewers) -eq 0 ]] && break; sleep 0.1; done
    [[ $(viewers) -eq 0 ]] || fail "the help viewer did not close"
    xdotool mousemove --window "$main" 300 300 click 1
    sleep 0.3
}

# The user's session: the zip unpacked into an empty folder, a folder to save into.
app="$work/app"
mkdir "$app"
unzip -q "$dist/varnolt-1.00-windows-$run_arch.zip" -d "$app" || fail "cannot unpack the $run_arch zip"
unpacked=$(cd "$app" && find . | sort)
folder="$work/Композиции"
mkdir "$folder"
piece="$folder/ряд 1.mid"

cd "$app/varnolt-1.00-windows-$run_arch/bin" || exit 1
start_program ./varnolt.exe
cd - >/dev/null || exit 1
help_opens "After the start" start
xdotool key alt+r c
sleep 0.5
xdotool key alt+f a
timeout 10 xdotool search --sync --onlyvisible --name '^Save As$' >/dev/null 2>&1 || fail "no Save As dialog"
sleep 0.3
# xdotool types letters outside the keyboard's layout unreliably: paste the
# names the way a user would, through the clipboard. First the folder, which
# the dialog opens (and makes the current one), then the file's name.
paste() {  # text
    printf '%s' "$1" | xclip -selection clipboard -quiet >/dev/null 2>&1 &
    clip=$!
    for _ in $(seq 1 50); do
        [[ "$(xclip -selection clipboard -o 2>/dev/null)" == "$1" ]] && break
        sleep 0.1
    done
    xdotool key ctrl+v
    sleep 0.3
    kill "$clip" 2>/dev/null; clip=""
}
paste "Z:${folder//\//\\}"
xdotool key Return
sleep 1
paste "$(basename "$piece")"
xdotool key Return
for _ in $(seq 1 50); do [[ -s "$piece" ]] && break; sleep 0.1; done
[[ -s "$piece" ]] || fail "Save As wrote no file named \"$piece\""
help_opens "After a save into another folder" saved

close_program

[[ "$(cd "$app" && find . | sort)" == "$unpacked" ]] || fail "the program's folder holds more than was unpacked"
saved=$(cd "$folder" && ls -A | tr '\n' '|')
[[ "$saved" == "ряд 1.mid|" ]] || fail "the save folder holds: $saved"
/usr/bin/python3 "$here/check_default_piece.py" "$piece" || fail "the saved file does not hold the composed piece"
echo "both packages hold the release; the unpacked $run_arch program opened its manual, saved \"$piece\", opened it again and ended with code 0"
