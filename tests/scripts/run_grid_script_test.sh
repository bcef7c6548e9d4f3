#!/usr/bin/env bash
# Registers QuorGrid.dll in the private Wine prefix and runs a JScript or
# VBScript test with Wine's cscript; the test passes when the script ends
# with status 0 after printing its closing "... test: ok" line.
#   run_grid_script_test.sh QuorGrid.dll grid_script_test.js|.vbs
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WINE="$ROOT/scripts/wine-run.sh"
win_path() { "$WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

DLL=$(win_path "$1")
SCRIPT=$(win_path "$2")
[ -n "$DLL" ] && [ -n "$SCRIPT" ] || { echo "FAIL: winepath"; exit 1; }
"$WINE" regsvr32 /s "$DLL" || { echo "FAIL: regsvr32 returned $?"; exit 1; }
out=$("$WINE" cscript //nologo "$SCRIPT")
rc=$?
out=$(tr -d '\r' <<<"$out")
echo "$out"
[ "$rc" -eq 0 ] || exit "$rc"
# A script stopped by a run-time error can still end with status 0: only
# its own last line, written after every check, counts as a pass.
grep -qE ' test: ok$' <<<"$out" || { echo "FAIL: the script did not run to its end"; exit 1; }
