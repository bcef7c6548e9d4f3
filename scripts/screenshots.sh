#!/usr/bin/env bash
# Saves a screenshot of the viewer's header grid while a user edits it: a
# cell open in its edit box and the cell menu open beside it. The viewer's
# window test takes the shot; this turns it into build/screenshots/*.png.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
"$ROOT/scripts/setup.sh"

WINE_ENV=$ROOT/scripts/wine-env.sh
OUT=$ROOT/build/screenshots
mkdir -p "$OUT"
trap '"$WINE_ENV" --stop' EXIT
"$WINE_ENV" wine regsvr32 /s "$ROOT/build/win/bin/QuorGrid.dll"
QUOR_SCREENSHOT_DIR=$("$WINE_ENV" winepath -w "$OUT") \
  "$ROOT/scripts/wine-run.sh" "$ROOT/build/win/bin/viewer_e2e_tests.exe" \
  --gtest_filter='*TheHeaderGridKeepsItsEditorOpenUnderTheCellMenu' --gtest_brief=1
convert "$OUT/header-edit-menu.bmp" -trim +repage "$OUT/header-edit-menu.png"
rm -f "$OUT/header-edit-menu.bmp"
echo "screenshot: $OUT/header-edit-menu.png"
