#!/usr/bin/env bash
# Registers QuorGrid in the private prefix, then runs the viewer's
# end-to-end tests, which create the grid by its ProgID.
set -eu
GRID_DLL=$1
TESTS=$2
SCRIPTS="$(dirname "${BASH_SOURCE[0]}")/../../scripts"
"$SCRIPTS/wine-env.sh" --start
# wine-run.sh passes the output on through a file: Wine processes that the
# tests start may outlive them, and must not hold CTest's pipe open.
"$SCRIPTS/wine-run.sh" regsvr32 /s "$GRID_DLL"
exec "$SCRIPTS/wine-run.sh" "$TESTS" --gtest_brief=1
