#!/usr/bin/env bash
# Saves screenshots of the viewer: its header grid while a user edits it (a
# cell open in its edit box and the cell menu open beside it), the
# multi-periodic sample paged "By Segment", the viewer maximised, and its
# plot window: the whole recording, then a zoom with both cursors. The
# viewer's window tests take those shots; this turns them into
# build/screenshots/*.png. Then the test container shows the grid with its
# demo rows, and the display is shot.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
"$ROOT/scripts/setup.sh"

WINE_ENV=$ROOT/scripts/wine-env.sh
OUT=$ROOT/build/screenshots
mkdir -p "$OUT"
trap '"$WINE_ENV" --stop' EXIT
"$WINE_ENV" wine regsvr32 /s "$ROOT/build/win/bin/QuorGrid.dll"
# Without a window manager Wine leaves a maximised window at its former X
# size unless its windows are unmanaged; only for these shots.
X11_KEY='HKCU\Software\Wine\X11 Driver'
"$WINE_ENV" wine reg add "$X11_KEY" /v Managed /d N /f >/dev/null
QUOR_SCREENSHOT_DIR=$("$WINE_ENV" winepath -w "$OUT") \
  "$ROOT/scripts/wine-run.sh" "$ROOT/build/win/bin/viewer_e2e_tests.exe" \
  --gtest_filter='*TheHeaderGridKeepsItsEditorOpenUnderTheCellMenu:*BySegmentPagesFromSegmentStartToSegmentStart:*MaximisedTheGridsTakeTheRoom*:*ARightDragBoxZoomsToItsSpanAndTheCursorsMarkIt' \
  --gtest_brief=1
"$WINE_ENV" wine reg delete "$X11_KEY" /v Managed /f >/dev/null
for shot in header-edit-menu viewer-by-segment viewer-maximised plot-whole-recording plot-zoom-cursors plot-four-lanes plot-overlay; do
  convert "$OUT/$shot.bmp" -trim +repage "$OUT/$shot.png"
  rm -f "$OUT/$shot.bmp"
  echo "screenshot: $OUT/$shot.png"
done

# The window exists once the host says so; its first paint follows soon after.
HOST_LOG=$OUT/grid-host-demo.log
"$WINE_ENV" wine "$ROOT/build/win/bin/quorhost.exe" --demo --exit-after 8000 >"$HOST_LOG" 2>&1 </dev/null &
HOST_PID=$!
for _ in $(seq 40); do
  grep -q 'quorhost: hosted' "$HOST_LOG" && break
  sleep 0.5
done
grep -q 'quorhost: hosted' "$HOST_LOG" || { cat "$HOST_LOG" >&2; exit 1; }
sleep 1
DISPLAY=${DISPLAY:-:$(cat "$ROOT/build/xvfb.display")} import -window root "$OUT/grid-host-demo.bmp"
wait "$HOST_PID"
rm -f "$HOST_LOG"
convert "$OUT/grid-host-demo.bmp" -trim +repage "$OUT/grid-host-demo.png"
rm -f "$OUT/grid-host-demo.bmp"
echo "screenshot: $OUT/grid-host-demo.png"
