#!/usr/bin/env bash
# `make bench`: runs the benchmark under Wine; arguments go to the benchmark (the row count).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
trap korval_wine_down EXIT INT TERM
korval_wine_up null
"$KORVAL_WINE" "$KORVAL_BUILD/bin/korval_bench.exe" "$@" </dev/null 2>&1 | grep -v '^[0-9a-f]*:fixme:'
