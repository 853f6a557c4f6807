#!/usr/bin/env bash
# `make run`: starts the renamer under Wine on the user's display; without a display it renders the
# window on Xvfb and saves build/screenshot.png instead.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
program=$KORVAL_BUILD/bin/korvalith.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  trap korval_wine_down EXIT INT TERM
  korval_wine_up x11 native
  "$KORVAL_WINE" "$program" "$@" </dev/null
else
  exec "$(dirname "${BASH_SOURCE[0]}")/screenshot.sh" "$program" "$KORVAL_BUILD/screenshot.png" "$@"
fi
