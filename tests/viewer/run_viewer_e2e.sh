#!/usr/bin/env bash
# Registers QuorGrid in the private prefix, then runs the viewer's
# end-to-end tests, which create the grid by its ProgID.
set -eu
GRID_DLL=$1
TESTS=$2
WRAP="$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
"$WRAP" wine regsvr32 /s "$GRID_DLL"
exec "$WRAP" wine "$TESTS" --gtest_brief=1
