#!/usr/bin/env bash
# A save onto a disk that runs out of room: the earlier file must survive
# whole and nothing of the new one may stay. The disk is a small tmpfs filled
# almost to the brim, mounted on a folder of a second one where no file can be
# made at all: the copy that the save keeps of the earlier file must go beside
# the target, on the target's own disk. Where mounting is not allowed, a file size limit on
# the saving process makes its writes fail the same way, part way through.
# Then, on the disk of our own only, a save where putting the earlier content
# back fails too: the copy beside the target must stay and be named; and one
# where a copy would leave no room for the new content. Last, a
# disk with no free entry, where no copy can be made: the earlier content must
# come back from memory byte for byte, also where it is mostly a hole; and where
# it cannot be put back, be kept in the temporary folder.
# Usage: save_full_disk.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set);
# the Windows tests program beside it does the saving.
set -uo pipefail
tests="$(dirname "$1")/varnolt_win_tests.exe"
shots="${TMPDIR:-/tmp}/varnolt-save-full-disk"
source "$(dirname "$0")/support/outside.sh"
[[ -f "$tests" ]] || fail "no $tests"
outer="$work/outer"
disk="$outer/disk"
mkdir -p "$outer"
mounted=""
on_exit() { [[ -n "$mounted" ]] && { umount "$disk"; umount "$outer"; }; }

# The outer disk has room for three names: its root, the inner disk's folder
# and a filler.
if mount -t tmpfs -o size=64k,nr_inodes=3 tmpfs "$outer" 2>/dev/null; then
    mkdir "$disk"
    head -c 1M /dev/zero >"$outer/filler" 2>/dev/null
    mount -t tmpfs -o size=64k tmpfs "$disk" || { umount "$outer"; fail "cannot mount the inner disk"; }
    mounted=yes
    limit=unlimited
    echo "a 64 KB disk at $disk, on a full one"
else
    mkdir "$disk"
    limit=16
    echo "mounting is not allowed here: writes stop at 16 KB instead"
fi
head -c 1000 /dev/urandom >"$disk/piece.mid"
cp "$disk/piece.mid" "$work/earlier.mid"
# About 12 KB left (or 16 KB allowed): the 83,240-byte piece starts to be
# written, then fails.
[[ -n "$mounted" ]] && { head -c 48000 /dev/zero >"$disk/filler" || fail "cannot fill the disk"; }
ls "$disk" >"$work/names-before"
ls "$outer" >"$work/outer-names-before"

wineserver -p  # a server started under the limit would inherit it
output=$( (trap '' XFSZ; ulimit -f "$limit"; \
           VARNOLT_FULL_FOLDER="$(winepath -w "$disk")" wine "$tests" --gtest_filter='FullDisk.TheEarlier*') 2>&1)
code=$?
echo "$output"
[[ $code -eq 0 ]] || fail "the save test failed (exit code $code)"
grep -q '\[  PASSED  \] 1 test' <<<"$output" || fail "the save test did not run"
cmp -s "$disk/piece.mid" "$work/earlier.mid" || fail "the earlier file changed"
ls "$disk" | diff "$work/names-before" - || fail "the folder's files changed"
ls "$outer" | diff "$work/outer-names-before" - || fail "the outer folder's files changed"

# Fills the disk to 72 KB free, then runs one FullDisk test on it.
with_72k_free() {  # test filter, what it shows
    head -c $(($(stat -f -c '%a * %S' "$disk") - 72 * 1024)) /dev/zero >"$disk/filler" || fail "cannot fill the disk"
    output=$(VARNOLT_FULL_FOLDER="$(winepath -w "$disk")" wine "$tests" --gtest_filter="FullDisk.$1" 2>&1)
    code=$?
    echo "$output"
    [[ $code -eq 0 ]] || fail "$2 failed (exit code $code)"
    grep -q '\[  PASSED  \] 1 test' <<<"$output" || fail "$2 did not run"
}

# Then an earlier file that is mostly a hole, which takes no room: its copy
# takes 60 KB of the 72 KB left, and the new content, then putting the earlier
# content back, need room the file never had. Only a disk of our own does this.
[[ -n "$mounted" ]] || { echo "PASS (without the kept copy: no disk of our own)"; exit 0; }
rm "$disk"/*
mount -o remount,size=128k "$disk" || fail "cannot grow the disk"
head -c 1000 /dev/urandom >"$disk/piece.mid"
truncate -s 60K "$disk/piece.mid"
with_72k_free 'ACopy*' "the kept copy test"

# Room for the new piece (83,240 bytes) or for a copy of the 60 KB piece.mid,
# not for both: 72 KB free, of which the copy would leave 12.
rm "$disk"/*
mount -o remount,size=160k "$disk" || fail "cannot grow the disk"
head -c 61440 /dev/urandom >"$disk/piece.mid"
with_72k_free 'TheNewContentGets*' "the save that the copy left no room for"

# A disk of one page with room for its root and piece.mid only: the new
# content fills the page, then finds no more room.
without_entry() {  # disk size, test filter [hole]
    umount "$disk" && mount -t tmpfs -o "size=$1,nr_inodes=2" tmpfs "$disk" \
        || fail "cannot mount a disk without free entries"
    head -c 100 /dev/urandom >"$disk/piece.mid"
    [[ "${3:-}" == hole ]] && truncate -s 60K "$disk/piece.mid"
    cp "$disk/piece.mid" "$work/earlier.mid"
    output=$(VARNOLT_FULL_FOLDER="$(winepath -w "$disk")" wine "$tests" --gtest_filter="FullDisk.$2" 2>&1)
    code=$?
    echo "$output"
    [[ $code -eq 0 ]] || fail "the test on a disk without free entries failed (exit code $code)"
    grep -q '\[  PASSED  \] 1 test' <<<"$output" || fail "the test on a disk without free entries did not run"
}
without_entry 4k 'TheEarlier*'
cmp "$disk/piece.mid" "$work/earlier.mid" || fail "without a copy, the earlier file changed"
# Mostly a hole: writing all of its earlier content back would need more room
# than it took, putting back what the failed write overwrote needs none.
without_entry 16k 'TheEarlier*' hole
cmp "$disk/piece.mid" "$work/earlier.mid" || fail "the earlier file that is mostly a hole changed"
without_entry 4k 'EarlierContentThatCannot*'
echo "PASS"
