#!/usr/bin/env bash
# Checks the release zips that scripts/package writes, as a Windows user gets
# them: each holds varnolt.exe, README.txt and LICENSE and nothing else; each
# exe is stripped, imports only Windows' own DLLs and carries its version,
# icons and code page manifest. Then the 64-bit exe, unpacked alone into an
# empty folder, composes and saves through the real save dialog into a folder
# named in Cyrillic, ends with code 0 on Alt+F4, and has written nothing but
# that file, which an independent reader reads back.
# Usage: package_check.sh DIST_DIR (DISPLAY and WINEPREFIX set).
set -uo pipefail
dist="$1"
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
shots="${TMPDIR:-/tmp}/varnolt-package-check"
source "$here/support/outside.sh"
clip=""
on_exit() { [[ -n "$clip" ]] && kill "$clip" 2>/dev/null; }

# The DLLs every Windows has; anything else would have to ship beside the exe.
system_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll winmm.dll msvcrt.dll advapi32.dll "

for arch in x64 x86; do
    zip="$dist/varnolt-1.00-windows-$arch.zip"
    [[ -f "$zip" ]] || fail "no $zip"
    listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
    [[ "$listing" == "LICENSE README.txt varnolt.exe " ]] || fail "$zip holds: $listing"
    unzip -p "$zip" LICENSE | tr -d '\r' | cmp -s - "$repo/LICENSE" || fail "$zip: LICENSE is not the project's"
    lines=$(unzip -p "$zip" README.txt | wc -l)
    crlf=$(unzip -p "$zip" README.txt | grep -c $'\r$')
    [[ "$lines" -gt 10 && "$crlf" -eq "$lines" ]] || fail "$zip: README.txt has $crlf CRLF ends in $lines lines"

    exe="$work/$arch/varnolt.exe"
    unzip -q "$zip" varnolt.exe -d "$work/$arch" || fail "cannot unpack $zip"
    symbols=$(x86_64-w64-mingw32-objdump -t "$exe" | grep -c '^\[')
    [[ "$symbols" -eq 0 ]] || fail "$arch: varnolt.exe is not stripped ($symbols symbols)"
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
    [[ -n "$dlls" ]] || fail "$arch: no imports found"
    for dll in $dlls; do
        [[ "$system_dlls" == *" $dll "* ]] || fail "$arch: varnolt.exe needs $dll, which Windows does not have"
    done
    /usr/bin/python3 "$here/check_release_exe.py" "$exe" || fail "$arch: the exe's resources are wrong"
done

# The user's session: an empty folder with the exe alone, a folder to save into.
app="$work/app"
mkdir "$app"
unzip -q "$dist/varnolt-1.00-windows-x64.zip" varnolt.exe -d "$app" || fail "cannot unpack the x64 exe"
folder="$work/Композиции"
mkdir "$folder"
piece="$folder/ряд 1.mid"
winpiece="Z:${piece//\//\\}"

cd "$app" || exit 1
start_program ./varnolt.exe
cd - >/dev/null || exit 1
xdotool key alt+r c
sleep 0.5
xdotool key alt+f a
timeout 10 xdotool search --sync --onlyvisible --name '^Save As$' >/dev/null 2>&1 || fail "no Save As dialog"
sleep 0.3
# xdotool types letters outside the keyboard's layout unreliably: paste the
# name the way a user would, through the clipboard.
printf '%s' "$winpiece" | xclip -selection clipboard -quiet >/dev/null 2>&1 &
clip=$!
for _ in $(seq 1 50); do
    [[ "$(xclip -selection clipboard -o 2>/dev/null)" == "$winpiece" ]] && break
    sleep 0.1
done
xdotool key ctrl+v
sleep 0.3
xdotool key Return
for _ in $(seq 1 50); do [[ -s "$piece" ]] && break; sleep 0.1; done
kill "$clip" 2>/dev/null; clip=""
[[ -s "$piece" ]] || fail "Save As wrote no file named \"$piece\""

close_program

left=$(cd "$app" && ls -A | tr '\n' ' ')
[[ "$left" == "varnolt.exe " ]] || fail "the program's folder holds more than the exe: $left"
saved=$(cd "$folder" && ls -A | tr '\n' '|')
[[ "$saved" == "ряд 1.mid|" ]] || fail "the save folder holds: $saved"
/usr/bin/python3 "$here/check_default_piece.py" "$piece" || fail "the saved file does not hold the composed piece"
echo "both packages hold the release; the unpacked exe saved \"$winpiece\" and ended with code 0"
