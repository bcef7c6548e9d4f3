#!/usr/bin/env bash
# The main job: sets everything up, writes the sample data set and shows a
# sample file through the command-line tool.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

"$ROOT/scripts/setup.sh"

# Users run an optimised tree without sanitizers; build/native keeps them
# for the tests.
RELEASE=$ROOT/build/release
if [ ! -f "$RELEASE/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$RELEASE" -DCMAKE_BUILD_TYPE=Release -DQUOR_SANITIZE=OFF >/dev/null
fi
echo "run: building $RELEASE"
cmake --build "$RELEASE" -j"${QUOR_JOBS:-$(nproc)}" --target quordata >/dev/null

SAMPLES=$ROOT/build/samples
QUORDATA=$RELEASE/bin/quordata
"$QUORDATA" samples "$SAMPLES"
echo "sample set written to $SAMPLES"

SAMPLE=$(ls "$SAMPLES"/*.quorData | head -n 1)
echo
echo "== quordata info $SAMPLE"
"$QUORDATA" info "$SAMPLE"
echo
echo "== quordata export $SAMPLE --count 20"
"$QUORDATA" export "$SAMPLE" --count 20

# == the viewer under Wine: register the grid in the private prefix, start
# the viewer on a sample file, save a screenshot of the display.
WINE_ENV=$ROOT/scripts/wine-env.sh
trap '"$WINE_ENV" --stop' EXIT
"$WINE_ENV" wine regsvr32 /s "$ROOT/build/win/bin/QuorGrid.dll"
VIEW_SAMPLE=$SAMPLES/multiperiodic_float.quorData
VIEW_PATH=$("$WINE_ENV" winepath -w "$VIEW_SAMPLE")
"$WINE_ENV" wine "$ROOT/build/win/bin/QuorDataViewer.exe" "$VIEW_PATH" &
VIEWER_PID=$!
sleep 8
SCREENSHOT=$ROOT/build/viewer-screenshot.png
DISPLAY=${DISPLAY:-:$(cat "$ROOT/build/xvfb.display")} import -window root "$SCREENSHOT"
echo
# Under Xvfb nobody can use the window: the viewer is ended after the shot.
kill "$VIEWER_PID" 2>/dev/null || true
wait "$VIEWER_PID" 2>/dev/null || true
echo "== QuorDataViewer on $VIEW_SAMPLE"
echo "screenshot: $SCREENSHOT"
