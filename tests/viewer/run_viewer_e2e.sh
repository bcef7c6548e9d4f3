#!/usr/bin/env bash
# Registers QuorGrid in the private prefix, then runs the viewer's
# end-to-end tests, which create the grid by its ProgID.
set -eu
GRID_DLL=$1
TESTS=$2
SCRIPTS="$(dirname "${BASH_SOURCE[0]}")/../../scripts"

# A read-only mount of a folder the tests can also write through, for the
# test of a file that refuses writers; where no mount can be made (no root,
# no mount rights) that test says so and skips.
RO_SOURCE=$(mktemp -d)
RO_MOUNT=$(mktemp -d)
cleanup() {
    if mountpoint -q "$RO_MOUNT" 2>/dev/null; then umount "$RO_MOUNT" || true; fi
    rm -rf "$RO_SOURCE" "$RO_MOUNT"
}
trap cleanup EXIT
if mount --bind "$RO_SOURCE" "$RO_MOUNT" 2>/dev/null; then
    if mount -o remount,ro,bind "$RO_MOUNT" 2>/dev/null; then
        export QUOR_READONLY_DIR="Z:${RO_MOUNT//\//\\}" QUOR_READONLY_SOURCE="Z:${RO_SOURCE//\//\\}"
    fi
fi

"$SCRIPTS/wine-env.sh" --start
# wine-run.sh passes the output on through a file: Wine processes that the
# tests start may outlive them, and must not hold CTest's pipe open.
"$SCRIPTS/wine-run.sh" regsvr32 /s "$GRID_DLL"
"$SCRIPTS/wine-run.sh" "$TESTS" --gtest_brief=1
