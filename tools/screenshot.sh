#!/usr/bin/env bash
# Starts a program under Wine on a private Xvfb display, waits for its window and saves a PNG of
# the screen.
#   tools/screenshot.sh <program.exe> <out.png> [program arguments...]
#   KORVAL_SHOT_KEYS="Return ..."   keys typed into the window before the capture (xdotool names)
#   KORVAL_SHOT_DPI=144              the display's DPI (96 is 100 %, 120 is 125 %, 144 is 150 %)
#   KORVAL_SHOT_SCREEN=1920x1080     the screen's size (default 1024x768)
set -uo pipefail
[ $# -ge 2 ] || { echo "usage: $0 <program.exe> <out.png> [arguments...]" >&2; exit 2; }
program=$1 out=$2
shift 2
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
# A prefix of its own, so that a screenshot can be taken while the tests run.
export KORVAL_PREFIX=$KORVAL_BUILD/wineprefix-shot WINEPREFIX=$KORVAL_BUILD/wineprefix-shot

program_pid=""
cleanup() {
  korval_wine_down
  korval_xvfb_down
}
trap cleanup EXIT INT TERM

export KORVAL_DPI=${KORVAL_SHOT_DPI:-96}
korval_xvfb_up "${KORVAL_SHOT_SCREEN:-1024x768}" "$KORVAL_BUILD/xvfb.log" ||
  { echo "screenshot: Xvfb did not start" >&2; exit 1; }
korval_wine_up x11 virtual
"$KORVAL_WINE" "$program" "$@" </dev/null >"$KORVAL_BUILD/screenshot-program.log" 2>&1 &
program_pid=$!

# Wait for Wine's desktop window, then give the program time to paint.
for _ in $(seq 1 100); do
  xwininfo -root -tree 2>/dev/null | grep -q 'Wine desktop' && break
  sleep 0.1
done
sleep ${KORVAL_SHOT_WAIT:-3}
if [ -n "${KORVAL_SHOT_KEYS:-}" ]; then
  # shellcheck disable=SC2086  # one key name per word
  xdotool key --delay 400 $KORVAL_SHOT_KEYS
  sleep 1
fi
mkdir -p "$(dirname "$out")"
if ! import -window root "$out" 2>>"$KORVAL_BUILD/xvfb.log"; then
  echo "screenshot: capture failed" >&2; exit 1
fi
echo "$out"
