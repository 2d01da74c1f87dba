#!/usr/bin/env bash
# A checkout copied elsewhere after it was built: its build folder was made
# for the first place, and CMake refuses it there. The scripts' check starts
# it afresh, and a build folder of the place itself is left alone.
# Usage: moved_checkout.sh path/to/scripts/lib/build_dir.sh
set -uo pipefail
source "$1"
work=$(mktemp -d /tmp/varnolt-moved.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir "$work/first"
echo 'cmake_minimum_required(VERSION 3.25)
project(moved NONE)' >"$work/first/CMakeLists.txt"
configure() { cmake -S . -B build/x >"$work/log" 2>&1; }
(cd "$work/first" && configure) || fail "cannot configure the first checkout"
cp -a "$work/first" "$work/copy"
touch "$work/first/build/x/kept"

cd "$work/copy" || exit 1
configure && fail "CMake took the copied build folder as it is: nothing to mend"
said=$(fresh_if_foreign build/x)
[[ "$said" == *"starting it afresh"* ]] || fail "the folder was not named as started afresh: $said"
configure || fail "the copy still does not configure: $(cat "$work/log")"
cd "$work/first" || exit 1
[[ -z "$(fresh_if_foreign build/x)" && -e build/x/kept ]] || fail "the first checkout's own build folder was touched"
echo "PASS"
