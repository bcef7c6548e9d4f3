#!/usr/bin/env bash
# Builds the libFuzzer target with clang and runs it for a bounded time,
# starting from the committed regression corpus (tests/fuzz/corpus: every
# input that once failed; add each new crash input there) and a seed corpus
# made from the sample set. Fails on any crash, leak, timeout or sanitizer
# report.
#   QUOR_FUZZ_SECONDS  fuzzing time (default 40; at most 60 unless
#                      QUOR_FUZZ_LONG=1, for a long run by hand)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/build/fuzz
SECONDS_TO_FUZZ=${QUOR_FUZZ_SECONDS:-40}
if [ "$SECONDS_TO_FUZZ" -gt 60 ] && [ "${QUOR_FUZZ_LONG:-0}" != 1 ]; then SECONDS_TO_FUZZ=60; fi
REGRESSIONS=$ROOT/tests/fuzz/corpus

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT/tests/fuzz" -B "$BUILD" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" -j2 >/dev/null

RUN=$BUILD/run
rm -rf "$RUN"
mkdir -p "$RUN/samples" "$RUN/seeds" "$RUN/corpus" "$RUN/artifacts"
"$BUILD/quor_fuzz_seeds" "$RUN/samples" "$RUN/seeds"

echo "fuzzing the data file library for ${SECONDS_TO_FUZZ} s"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if "$BUILD/quor_fuzz_datafile" -max_total_time="$SECONDS_TO_FUZZ" -timeout=10 -rss_limit_mb=2048 \
     -max_len=65536 -artifact_prefix="$RUN/artifacts/" -print_final_stats=1 \
     "$RUN/corpus" "$REGRESSIONS" "$RUN/seeds" >"$RUN/fuzz.log" 2>&1; then
  tail -n 12 "$RUN/fuzz.log" | grep -E "^stat::(number_of_executed_units|peak_rss_mb)" || true
  echo "fuzzing found no fault"
else
  grep -E "ERROR|runtime error|SUMMARY|Test unit written" "$RUN/fuzz.log" | head -n 20
  echo "fuzzing FAILED: see $RUN/fuzz.log"
  exit 1
fi
