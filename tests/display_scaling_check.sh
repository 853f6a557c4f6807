#!/usr/bin/env bash
# Runs the display-scaling tests in a Wine session of their own: the X11 driver on a private Xvfb
# screen of 1920 x 1080, a laptop's panel (the null driver's screen is 1024 x 768, too small for a
# window at 200 %), and a prefix of its own, so that the DPI these tests set reaches no other test.
#   display_scaling_check.sh <build folder> <test.exe>...
set -uo pipefail
export KORVAL_BUILD=$1 KORVAL_PREFIX=$1/wineprefix-x11
shift
tools=$(dirname "${BASH_SOURCE[0]}")/../tools
source "$tools/wine-env.sh"

cleanup() {
  korval_wine_down
  korval_xvfb_down
}
trap cleanup EXIT INT TERM

korval_xvfb_up 1920x1080 "$KORVAL_BUILD/xvfb-scaling.log" || { echo "display scaling: Xvfb did not start"; exit 1; }
korval_wine_up x11 virtual
# Nothing else runs in this session: the tests stay on the desktop of the screen's size.
export KORVAL_SHARED_DESKTOP=1
rc=0
for test in "$@"; do
  "$tools/wine-launch.sh" "$test" || rc=1
done
exit $rc
