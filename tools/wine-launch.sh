#!/usr/bin/env bash
# CTest's launcher for Windows test binaries. Wine's helper processes inherit the standard streams
# and outlive the test, so CTest would wait on its pipes forever: run the test with its streams on a
# file, print the file, and pass Wine's exit code through.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
out=$(mktemp "${TMPDIR:-/tmp}/korval-test.XXXXXX")
"$KORVAL_WINE" "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
