#!/usr/bin/env bash
# Saving onto a file that has more to it than its bytes: a link to another
# file, one of two names of a file, a file only its owner may read. After the
# save each is still what it was, with the new piece as its content, and
# nothing else stands in the folder.
# Usage: save_keeps_target.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set);
# the Windows tests program beside it does the saving.
set -uo pipefail
tests="$(dirname "$1")/varnolt_win_tests.exe"
shots="${TMPDIR:-/tmp}/varnolt-save-keeps-target"
source "$(dirname "$0")/support/outside.sh"
[[ -f "$tests" ]] || fail "no $tests"

mkdir "$work/pieces" && cd "$work/pieces" || exit 1
echo "earlier" >real.mid
ln -s real.mid link.mid
echo "earlier" >one.mid
ln one.mid two.mid
echo "earlier" >private.mid
chmod 600 private.mid
ls >"$work/names-before"

output=$(VARNOLT_TARGET_FOLDER="$(winepath -w "$work/pieces")" wine "$tests" --gtest_filter='KeptTarget.*' 2>&1)
code=$?
echo "$output"
[[ $code -eq 0 ]] || fail "the save test failed (exit code $code)"
grep -q '\[  PASSED  \] 1 test' <<<"$output" || fail "the save test did not run"

[[ -L link.mid && "$(readlink link.mid)" == real.mid ]] || fail "link.mid is no longer a link to real.mid"
[[ "$(stat -c %i one.mid)" == "$(stat -c %i two.mid)" ]] || fail "one.mid and two.mid are no longer one file"
[[ "$(stat -c %a private.mid)" == 600 ]] || fail "private.mid's rights changed to $(stat -c %a private.mid)"
ls | diff "$work/names-before" - || fail "the folder's files changed"
echo "PASS"
