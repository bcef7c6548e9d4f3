#!/usr/bin/env bash
# regsvr32 registers QuorGrid.dll in the private Wine prefix, the keys and
# values are there, a host creates the control by its ProgID, and
# unregistration removes the keys again. The DLL is registered again at the
# end, since hosts in the other tests create the grid by its ProgID.
#   registration_test.sh QuorGrid.dll grid_progid_probe.exe
# pipefail: a probe or a query piped through tr must still fail the test.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
WINE="$ROOT/scripts/wine-run.sh"
DLL_UNIX=$1
PROBE=$2
CLSID='{AAB6E039-AD67-4B2F-BEFA-4FE268BB46FE}'
LIBID='{B44D4D33-0068-4336-8273-F2E8B022F3F6}'
IID='{65D58203-82D7-45F9-879D-FDA8AE51A65C}'
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

win_path() { "$WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# reg query KEY [/v NAME | /ve]: prints the value's data, exit 1 when absent.
reg_value() {
  local out
  out=$("$WINE" reg query "$@" 2>/dev/null | tr -d '\r') || return 1
  echo "$out" | awk '/REG_SZ/ { sub(/^.*REG_SZ[ \t]*/, ""); print; exit }'
}

expect_value() {
  local expected=$1; shift
  local actual
  if ! actual=$(reg_value "$@"); then
    fail "missing: $*"
  elif [ "$actual" != "$expected" ]; then
    fail "$*: expected '$expected', got '$actual'"
  fi
}

expect_key() { "$WINE" reg query "$1" >/dev/null 2>&1 || fail "missing key $1"; }
expect_no_key() { "$WINE" reg query "$1" >/dev/null 2>&1 && fail "key still there: $1"; }

DLL=$(win_path "$DLL_UNIX")
[ -n "$DLL" ] || { echo "FAIL: winepath"; exit 1; }

"$WINE" regsvr32 /s "$DLL" || fail "regsvr32 returned $?"

HKCR='HKEY_CLASSES_ROOT'
CLS="$HKCR\\CLSID\\$CLSID"
expect_value "QuorGridControl Class" "$HKCR\\QuorGrid.QuorGridControl.1" /ve
expect_value "$CLSID" "$HKCR\\QuorGrid.QuorGridControl.1\\CLSID" /ve
expect_value "QuorGridControl Class" "$HKCR\\QuorGrid.QuorGridControl" /ve
expect_value "$CLSID" "$HKCR\\QuorGrid.QuorGridControl\\CLSID" /ve
expect_value "QuorGrid.QuorGridControl.1" "$HKCR\\QuorGrid.QuorGridControl\\CurVer" /ve
expect_value "QuorGridControl Class" "$CLS" /ve
expect_value "QuorGrid.QuorGridControl.1" "$CLS\\ProgID" /ve
expect_value "QuorGrid.QuorGridControl" "$CLS\\VersionIndependentProgID" /ve
expect_key "$CLS\\Programmable"
expect_key "$CLS\\Control"
expect_key "$CLS\\Insertable"
expect_value "$DLL" "$CLS\\InprocServer32" /ve
expect_value "Apartment" "$CLS\\InprocServer32" /v ThreadingModel
expect_value "$DLL, 101" "$CLS\\ToolboxBitmap32" /ve
expect_value "0" "$CLS\\MiscStatus" /ve
expect_value "131473" "$CLS\\MiscStatus\\1" /ve
expect_value "$LIBID" "$CLS\\TypeLib" /ve
expect_value "1.0" "$CLS\\Version" /ve
expect_value "QuorGrid 1.0 Type Library" "$HKCR\\TypeLib\\$LIBID\\1.0" /ve
# Wine registers the library's path in its \\?\ form.
typelib_path=$(reg_value "$HKCR\\TypeLib\\$LIBID\\1.0\\0\\win64" /ve) || fail "missing: the type library's path"
[ "${typelib_path#\\\\\?\\}" = "$DLL" ] || fail "type library path: expected '$DLL', got '$typelib_path'"
# The dual interface, registered from the type library for marshalling.
expect_value "$LIBID" "$HKCR\\Interface\\$IID\\TypeLib" /ve

"$WINE" "$PROBE" | tr -d '\r' || fail "creating the control by its ProgID"

"$WINE" regsvr32 /s /u "$DLL" || fail "regsvr32 /u returned $?"
expect_no_key "$HKCR\\QuorGrid.QuorGridControl.1"
expect_no_key "$HKCR\\QuorGrid.QuorGridControl"
expect_no_key "$CLS"
expect_no_key "$HKCR\\TypeLib\\$LIBID\\1.0"
expect_no_key "$HKCR\\Interface\\$IID"

"$WINE" regsvr32 /s "$DLL" || fail "registering again returned $?"

if [ "$failures" -ne 0 ]; then
  echo "registration test: $failures failure(s)"
  exit 1
fi
echo "registration test: ok"
