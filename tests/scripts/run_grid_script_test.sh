#!/usr/bin/env bash
# Registers QuorGrid.dll in the private Wine prefix and runs a JScript or
# VBScript test with Wine's cscript; the script's exit code is the test's
# result.
#   run_grid_script_test.sh QuorGrid.dll grid_script_test.js|.vbs
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WINE="$ROOT/scripts/wine-run.sh"
win_path() { "$WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

DLL=$(win_path "$1")
SCRIPT=$(win_path "$2")
[ -n "$DLL" ] && [ -n "$SCRIPT" ] || { echo "FAIL: winepath"; exit 1; }
"$WINE" regsvr32 /s "$DLL" || { echo "FAIL: regsvr32 returned $?"; exit 1; }
"$WINE" cscript //nologo "$SCRIPT" | tr -d '\r'
exit "${PIPESTATUS[0]}"
