#!/usr/bin/env bash
# Runs every test (or those matching the CTest arguments given) under Wine: one wineserver and one
# booted prefix for the whole run, stopped again however the run ends.
#   tools/run-tests.sh                 all tests
#   tools/run-tests.sh -R Settings     tests whose name matches
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
trap korval_wine_down EXIT INT TERM
korval_wine_up null
# A hidden keeper keeps the desktop's explorer.exe alive for the run, so it is not restarted by,
# and attached to, each test.
"$KORVAL_WINE" "$KORVAL_BUILD/bin/winekeeper.exe" </dev/null >/dev/null 2>&1 &
ctest --test-dir "$KORVAL_BUILD" --output-on-failure -j"$(nproc)" "$@"
