#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's private prefix.
# CTest uses this as the cross-compiling emulator.
#
# The program's output goes through a file: Wine's service processes, which
# may be started by this program, inherit its output descriptors and outlive
# it, and a caller reading a pipe (CTest) would wait for them forever.
source "$(dirname "${BASH_SOURCE[0]}")/wine-common.sh"
quor_ensure_prefix
quor_use_display
out=$(mktemp)
"$QUOR_WINE_BIN" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
