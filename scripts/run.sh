#!/usr/bin/env bash
# The main job: sets everything up, writes the sample data set and shows a
# sample file through the command-line tool.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

"$ROOT/scripts/setup.sh"

SAMPLES=$ROOT/build/samples
QUORDATA=$ROOT/build/native/bin/quordata
"$QUORDATA" samples "$SAMPLES"
echo "sample set written to $SAMPLES"

SAMPLE=$(ls "$SAMPLES"/*.quorData | head -n 1)
echo
echo "== quordata info $SAMPLE"
"$QUORDATA" info "$SAMPLE"
echo
echo "== quordata export $SAMPLE --count 20"
"$QUORDATA" export "$SAMPLE" --count 20
