#!/usr/bin/env bash
# The MSI in a fresh Wine prefix of its own: a silent install, the grid's
# registry entries against what regsvr32 writes, the grid created by a
# script, a data file and a plot workspace opened through their
# associations, and an uninstall
# that leaves no file and no key behind.
#   run_installer_test.sh BIN_DIR WORK_DIR
set -u
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BIN_DIR=$(cd "$1" && pwd)
rm -rf "$2"
mkdir -p "$2"
WORK=$(cd "$2" && pwd)
export WINEPREFIX=$WORK/prefix
source "$ROOT/scripts/wine-common.sh"
quor_use_display
WINE="$ROOT/scripts/wine-run.sh"
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null' EXIT

status=0
fail() { echo "FAIL: $*"; status=1; }
step() { echo "== $*"; }
# Wine's msiexec can be slow: every step has a bound.
wine_bounded() { timeout "$1" "$WINE" "${@:2}" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

CLSID='{AAB6E039-AD67-4B2F-BEFA-4FE268BB46FE}'
LIBID='{B44D4D33-0068-4336-8273-F2E8B022F3F6}'
GRID_KEYS=(
  'HKCR\QuorGrid.QuorGridControl.1'
  'HKCR\QuorGrid.QuorGridControl'
  "HKCR\\CLSID\\$CLSID"
  "HKCR\\TypeLib\\$LIBID"
  'HKCR\Interface\{EE30F5DE-AD7C-4A75-A931-B6295BA068D8}'
  'HKCR\Interface\{65D58203-82D7-45F9-879D-FDA8AE51A65C}'
)
VIEWER_KEYS=(
  'HKCR\AppID\{4A8F2C71-93D6-4B0E-A5C2-7E19D0B3F654}'
  'HKCR\AppID\QuorDataViewer.EXE'
  'HKCR\.quorData'
  'HKCR\.ZIBdata'
  'HKCR\.LittleEndianZIBdata'
  'HKCR\QuorDataViewer.DataFile'
  'HKCR\.quorWorkspace'
  'HKCR\QuorDataViewer.Workspace'
)
INTERFACE_KEYS=("${GRID_KEYS[@]:4}")
with_keys() { awk '/^reg:/ { next } /^HKEY_/ { key = $0; print key; next } NF { print key " |" $0 }'; }
# Every key and every value under the keys, one line each with its key,
# sorted; nothing for a missing key. Wine's type library registration
# records paths in their \\?\ form, which names the same file: paths are
# compared without that prefix.
registry_dump() {
  local key
  for key in "$@"; do
    wine_bounded 60 reg query "$key" /s 2>/dev/null | with_keys
  done | sed 's/\\\\?\\//' | sort
}
# The grid's entries in both registry views: its interfaces are in the
# 32-bit view as well.
grid_dump() {
  registry_dump "${GRID_KEYS[@]}"
  local key
  for key in "${INTERFACE_KEYS[@]}"; do
    wine_bounded 60 reg query "$key" /s /reg:32 2>/dev/null | with_keys | sed 's/^/32-bit view: /'
  done | sort
}

step "wine prefix and MSI"
quor_ensure_prefix
MSI=$WORK/QuorDataViewer-test.msi
"$ROOT/scripts/installer/build-msi.sh" "$BIN_DIR" "$MSI" || { fail "wixl"; exit 1; }
MSI_WIN=$(wine_bounded 30 winepath -w "$MSI")

step "silent install"
wine_bounded 240 msiexec /i "$MSI_WIN" /qn || fail "msiexec /i returned $?"
INSTALL_DIR="$WINEPREFIX/drive_c/Program Files/QuorDataViewer"
for f in QuorDataViewer.exe QuorGrid.dll; do
  [ -f "$INSTALL_DIR/$f" ] || fail "$f not installed"
done
SHORTCUT=$(find "$WINEPREFIX/drive_c" -name 'QUOR Data Viewer.lnk' 2>/dev/null | head -n 1)
[ -n "$SHORTCUT" ] || fail "no Start menu shortcut"

step "registry: the MSI's grid entries equal regsvr32's"
GRID_DLL='C:\Program Files\QuorDataViewer\QuorGrid.dll'
grid_dump >"$WORK/msi.reg"
[ -s "$WORK/msi.reg" ] || fail "the MSI wrote no grid entries"
wine_bounded 60 regsvr32 /u /s "$GRID_DLL" || fail "regsvr32 /u returned $?"
grid_dump >"$WORK/unregistered.reg"
[ -s "$WORK/unregistered.reg" ] && fail "entries left after regsvr32 /u: $(cat "$WORK/unregistered.reg")"
wine_bounded 60 regsvr32 /s "$GRID_DLL" || fail "regsvr32 returned $?"
grid_dump >"$WORK/regsvr32.reg"
diff -u "$WORK/regsvr32.reg" "$WORK/msi.reg" || fail "the MSI's grid entries differ from regsvr32's"

step "registry: AppID and data file types"
registry_dump "${VIEWER_KEYS[@]}" >"$WORK/viewer.reg"
for expected in 'QuorDataViewer.EXE' 'AppID    REG_SZ    {4A8F2C71-93D6-4B0E-A5C2-7E19D0B3F654}' \
    '"C:\Program Files\QuorDataViewer\QuorDataViewer.exe" "%1"' \
    'C:\Program Files\QuorDataViewer\QuorDataViewer.exe,1'; do
  grep -qF "$expected" "$WORK/viewer.reg" || fail "no registry value [$expected]"
done
[ "$(grep -c 'REG_SZ    QuorDataViewer.DataFile' "$WORK/viewer.reg")" = 3 ] || fail "not three data file extensions"
grep -qF 'HKEY_CLASSES_ROOT\.quorWorkspace |    (Default)    REG_SZ    QuorDataViewer.Workspace' "$WORK/viewer.reg" ||
  fail "no workspace extension"
grep -qF 'HKEY_CLASSES_ROOT\QuorDataViewer.Workspace\shell\open\command |    (Default)    REG_SZ    "C:\Program Files\QuorDataViewer\QuorDataViewer.exe" "%1"' "$WORK/viewer.reg" ||
  fail "no workspace open command"

step "cscript creates the grid by its ProgID"
wine_bounded 60 cscript //nologo "$(wine_bounded 30 winepath -w "$ROOT/tests/installer/create_grid.js")" ||
  fail "cscript returned $?"

step "a data file opens in the viewer through its association"
SAMPLES=$WORK/samples
mkdir -p "$SAMPLES"
wine_bounded 60 "$BIN_DIR/quordata.exe" samples "$(wine_bounded 30 winepath -w "$SAMPLES")" >/dev/null
SAMPLE=$SAMPLES/periodic_int.quorData
[ -f "$SAMPLE" ] || fail "no sample file"
wine_bounded 30 start /unix "$SAMPLE"
# Other tests may show viewers on the same display: this one is known by
# its title, the sample's Windows path.
TITLE="\"QUOR Data Viewer - $(wine_bounded 30 winepath -w "$SAMPLE")\""
viewer_shown() { xwininfo -root -tree 2>/dev/null | grep -qF "$TITLE"; }
for _ in $(seq 60); do
  viewer_shown && break
  sleep 0.5
done
viewer_shown || fail "no viewer window titled $TITLE"
wine_bounded 30 taskkill /im QuorDataViewer.exe >/dev/null
for _ in $(seq 40); do
  viewer_shown || break
  sleep 0.5
done
# The process outlives its window by a second or more; the uninstall
# cannot remove a program file that is still running.
close_viewers() {
  wine_bounded 30 taskkill /f /im QuorDataViewer.exe >/dev/null 2>&1
  sleep 1
}
close_viewers

step "a workspace opens in the viewer's plot through its association"
# Its lanes lie beside it, named relative to it; the first lane's file is
# the dialog's.
WORKSPACE=$SAMPLES/run.quorWorkspace
printf 'QuorWorkspace 1\nlane\tsteps\tseparate\t#FF0000\t0\tperiodic_int.quorData\nlane\tlines\tseparate\t#0000FF\t0\tperiodic_float.quorData\n' >"$WORKSPACE"
wine_bounded 30 start /unix "$WORKSPACE"
PLOT_TITLE="\"QUOR Data Plot - "
shown_both() { viewer_shown && xwininfo -root -tree 2>/dev/null | grep -qF "$PLOT_TITLE"; }
for _ in $(seq 60); do
  shown_both && break
  sleep 0.5
done
viewer_shown || fail "the workspace opened no viewer titled $TITLE"
shown_both || fail "the workspace opened no plot window"
close_viewers

step "uninstall leaves no file and no key"
wine_bounded 240 msiexec /x "$MSI_WIN" /qn || fail "msiexec /x returned $?"
[ -e "$INSTALL_DIR" ] && fail "left behind: $(find "$INSTALL_DIR")"
[ -n "$SHORTCUT" ] && [ -e "$SHORTCUT" ] && fail "the Start menu shortcut is left"
{ grid_dump; registry_dump "${VIEWER_KEYS[@]}"; } >"$WORK/uninstalled.reg"
[ -s "$WORK/uninstalled.reg" ] && fail "keys left: $(cat "$WORK/uninstalled.reg")"

[ $status -eq 0 ] && echo "installer test passed"
exit $status
