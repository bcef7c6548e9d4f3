#!/usr/bin/env bash
# Sets everything up and runs every test: the native tree (sanitizers), the
# Windows tree under Wine (with a private prefix, a warm wineserver and an
# Xvfb display), then a bounded fuzz run.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

"$ROOT/scripts/setup.sh" || exit 1

cleanup() { "$ROOT/scripts/wine-env.sh" --stop; }
trap cleanup EXIT

status=0
echo "== native tests"
ctest --test-dir build/native --output-on-failure -j2 || status=1

echo "== Windows tests under Wine"
"$ROOT/scripts/wine-env.sh" --start || exit 1
source "$ROOT/scripts/wine-common.sh"
quor_use_display
export DISPLAY
ctest --test-dir build/win --output-on-failure -j2 || status=1

if [ -x "$ROOT/scripts/fuzz.sh" ]; then
  echo "== fuzzing"
  "$ROOT/scripts/fuzz.sh" || status=1
fi

if [ $status -eq 0 ]; then echo "all tests passed"; else echo "some tests FAILED"; fi
exit $status
