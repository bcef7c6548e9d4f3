#!/usr/bin/env bash
# Builds and runs the benchmarks; they print figures and judge nothing.
# The native ones are built without sanitizers in build/release, the tree
# users run; the Windows ones come from build/win and run under Wine.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
"$ROOT/scripts/setup.sh"

if [ ! -f build/release/CMakeCache.txt ]; then
  cmake -S . -B build/release -DQUOR_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build/release -j2 --target quordata datafile_bench summary_bench find_merge_bench >/dev/null
SCRATCH=$(mktemp -d "$ROOT/build/bench-files.XXXXXX")
trap 'rm -rf "$SCRATCH"; "$ROOT/scripts/wine-env.sh" --stop' EXIT

echo "== data file library (native)"
build/release/bin/datafile_bench "$SCRATCH"
echo "== signal summary (native)"
build/release/bin/summary_bench "$SCRATCH"
echo "== find, merge and export rows (native)"
build/release/bin/find_merge_bench "$SCRATCH"
# The export as users run it: the quordata binary writing a file.
export_rate() {  # label, command...
  local label=$1; shift
  for kind in float int; do
    local start end
    start=$(date +%s%N)
    "$@" export "$SCRATCH/export_$kind.quorData" --to 9999999000000 >"$SCRATCH/export.csv"
    end=$(date +%s%N)
    awk -v l="$label" -v k="$kind" -v ns=$((end - start)) \
      'BEGIN { printf "%s: quordata export of 10^7 %s rows: %.2f M rows/s\n", l, k, 1e7 / (ns / 1e9) / 1e6 }'
  done
}
export_rate native build/release/bin/quordata

"$ROOT/scripts/wine-env.sh" --start
echo "== signal summary (Windows, under Wine)"
(cd build/win/bin && "$ROOT/scripts/wine-run.sh" ./summary_bench.exe "$SCRATCH")
echo "== find, merge and export rows (Windows, under Wine)"
(cd build/win/bin && "$ROOT/scripts/wine-run.sh" ./find_merge_bench.exe "$SCRATCH")
for b in grid_bench grid_csv_bench grid_import_bench viewer_bench; do
  if [ -f "build/win/bin/$b.exe" ]; then
    echo "== $b (Windows, under Wine)"
    (cd build/win/bin && "$ROOT/scripts/wine-run.sh" "./$b.exe")
  fi
done
# The plot workspace's files (8 x 400 MB) stay beside the release build and
# are written only when missing.
if [ -f build/win/bin/plot_bench.exe ]; then
  echo "== plot_bench: the plot workspace on 8 lanes (Windows, under Wine)"
  mkdir -p build/release/bench-data
  (cd build/win/bin && "$ROOT/scripts/wine-run.sh" ./plot_bench.exe "$ROOT/build/release/bench-data")
  echo "== plot_bench: 32 lanes, the 8 files linked 4 times each (Windows, under Wine)"
  (cd build/win/bin && "$ROOT/scripts/wine-run.sh" ./plot_bench.exe "$ROOT/build/release/bench-data" 32)
fi
