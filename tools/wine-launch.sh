#!/usr/bin/env bash
# CTest's launcher for Windows test binaries. Wine's helper processes inherit the standard streams
# and outlive the test, so CTest would wait on its pipes forever: run the test with its streams on a
# file, print the file, and pass Wine's exit code through.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
out=$(mktemp "${TMPDIR:-/tmp}/korval-test.XXXXXX")
"$KORVAL_WINE" "$@" </dev/null >"$out" 2>&1
rc=$?
# Now and then Wine cannot start a process at all, when the address it wants for the shared user data
# is taken (c0000018); nothing of the test ran, so it is started once more.
if [ $rc -ne 0 ] && grep -q 'failed to map the shared user data' "$out"; then
  "$KORVAL_WINE" "$@" </dev/null >"$out" 2>&1
  rc=$?
fi
cat "$out"
rm -f "$out"
exit $rc
