#!/usr/bin/env bash
# Runs one probe test through the CTest launcher and checks the exit code Linux sees and the output.
#   harness_check.sh <probe.exe> <test name> <expected exit code> <expected output pattern>
set -u
out=$("$(dirname "$0")/../tools/wine-launch.sh" "$1" --gtest_filter="HarnessProbe.$2" 2>&1)
rc=$?
if [ "$rc" -ne "$3" ]; then
  echo "expected exit code $3, got $rc"; echo "$out"; exit 1
fi
if ! grep -q -- "$4" <<<"$out"; then
  echo "expected output matching '$4'"; echo "$out"; exit 1
fi
echo "exit code $rc and output as expected"
