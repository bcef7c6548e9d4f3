#!/usr/bin/env bash
# Builds and runs the benchmarks; they print figures and judge nothing.
# The native one is built without sanitizers in build/bench; the Windows
# ones come from build/win and run under Wine.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
"$ROOT/scripts/setup.sh"

if [ ! -f build/bench/CMakeCache.txt ]; then
  cmake -S . -B build/bench -DQUOR_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build/bench -j2 --target datafile_bench summary_bench >/dev/null
SCRATCH=$(mktemp -d "$ROOT/build/bench-files.XXXXXX")
trap 'rm -rf "$SCRATCH"; "$ROOT/scripts/wine-env.sh" --stop' EXIT

echo "== data file library (native)"
build/bench/bin/datafile_bench "$SCRATCH"
echo "== signal summary (native)"
build/bench/bin/summary_bench "$SCRATCH"

"$ROOT/scripts/wine-env.sh" --start
echo "== signal summary (Windows, under Wine)"
(cd build/win/bin && "$ROOT/scripts/wine-run.sh" ./summary_bench.exe "$SCRATCH")
for b in grid_bench grid_csv_bench grid_import_bench viewer_bench plot_bench; do
  if [ -f "build/win/bin/$b.exe" ]; then
    echo "== $b (Windows, under Wine)"
    (cd build/win/bin && "$ROOT/scripts/wine-run.sh" "./$b.exe")
  fi
done
