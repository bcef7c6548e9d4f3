#!/usr/bin/env bash
# The test container hosts the registered grid by its ProgID, once through
# its own OLE site and once in an AtlAxWin window: each run ends by itself
# with status 0, and the control it made is the grid, in place with its
# window and, in that window, the column header and the row buttons.
#   hosting_test.sh QuorGrid.dll quorhost.exe
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
WINE="$ROOT/scripts/wine-run.sh"
HOST=$2
CLSID='{AAB6E039-AD67-4B2F-BEFA-4FE268BB46FE}'
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DLL=$("$WINE" winepath -w "$1" 2>/dev/null | tr -d '\r')
[ -n "$DLL" ] || { echo "FAIL: winepath"; exit 1; }
"$WINE" regsvr32 /s "$DLL" || { echo "FAIL: regsvr32 returned $?"; exit 1; }

# host LABEL HOSTED-LINE QUORHOST-ARGS...
host() {
  local label=$1 hosted=$2
  shift 2
  local out rc line before=$failures
  out=$("$WINE" "$HOST" --check --exit-after 300 "$@")
  rc=$?
  out=$(tr -d '\r' <<<"$out")
  [ "$rc" -eq 0 ] || fail "$label: quorhost returned $rc"
  for line in "$hosted" "quorhost: class $CLSID" "quorhost: window QuorGridControlWindow" \
              "quorhost: child QuorColumnHeaderObj" "quorhost: child QuorRowHeaderObj"; do
    grep -qxF "$line" <<<"$out" || fail "$label: no line '$line'"
  done
  [ "$failures" -eq "$before" ] || echo "$out"
}

host "own site" "quorhost: hosted QuorGrid.QuorGridControl.1" QuorGrid.QuorGridControl.1
# The version-independent ProgID goes through its CurVer key.
host "AtlAxWin" "quorhost: hosted QuorGrid.QuorGridControl in AtlAxWin" --atl QuorGrid.QuorGridControl

if [ "$failures" -ne 0 ]; then
  echo "hosting test: $failures failure(s)"
  exit 1
fi
echo "hosting test: ok"
