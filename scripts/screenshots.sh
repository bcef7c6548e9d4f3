#!/usr/bin/env bash
# Saves screenshots of the viewer: its header grid while a user edits it (a
# cell open in its edit box and the cell menu open beside it), and the
# multi-periodic sample paged "By Segment". The viewer's window tests take
# the shots; this turns them into build/screenshots/*.png.
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
  --gtest_filter='*TheHeaderGridKeepsItsEditorOpenUnderTheCellMenu:*BySegmentPagesFromSegmentStartToSegmentStart' \
  --gtest_brief=1
for shot in header-edit-menu viewer-by-segment; do
  convert "$OUT/$shot.bmp" -trim +repage "$OUT/$shot.png"
  rm -f "$OUT/$shot.bmp"
  echo "screenshot: $OUT/$shot.png"
done
