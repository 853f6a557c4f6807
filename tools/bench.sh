#!/usr/bin/env bash
# `make bench`: runs the benchmark under Wine; arguments go to the benchmark (the row count).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
trap korval_wine_down EXIT INT TERM
korval_wine_up null
# The desktop's explorer.exe kept alive for the run, as the shell always is on Windows: otherwise a
# start after a quiet moment pays for starting it again, and the figures say which start came first.
"$KORVAL_WINE" "$KORVAL_BUILD/bin/winekeeper.exe" </dev/null >/dev/null 2>&1 &
# Wine's own notes stay off the figures. No pipe: a process the run starts keeps its end open.
WINEDEBUG=-all "$KORVAL_WINE" "$KORVAL_BUILD/bin/korval_bench.exe" "$@" </dev/null 2>&1
