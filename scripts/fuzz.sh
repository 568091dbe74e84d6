#!/usr/bin/env bash
# Fuzzes the simulator's file readers with libFuzzer (clang, AddressSanitizer and UBSan).
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default: 60 seconds for every target
# Each target starts from its seed corpus in tests/fuzz/corpus/<target>/ and keeps what it finds in
# build-fuzz/corpus/<target>/. A crash is written to build-fuzz/crashes/<target>/; copy it into the
# target's seed corpus once fixed, so that the normal test run replays it for good. The summary of
# each target keeps libFuzzer's executions and coverage (cov: edges, ft: features), also when a
# crash ends the run early.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCELESTRIX_FUZZ=ON -DSANITIZE=ON -DCELESTRIX_BUILD_BENCH=OFF >/dev/null
mapfile -t targets < "$root/tests/fuzz/fuzz_target_names.txt"
if [ $# -gt 0 ]; then targets=("$@"); fi
cmake --build "$build" --target "${targets[@]/#/fuzz_}"
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t" "$build/crashes/$t"
  echo "== $t: $seconds s"
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan_suppressions.txt" UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$build/tests/fuzz_$t" "$build/corpus/$t" "$root/tests/fuzz/corpus/$t" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/crashes/$t/" 2>&1 | awk '
      / cov: / { last = $0 }
      /DONE/ { done = 1 }
      /(DONE|stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)/ { print }
      END { if (!done && last != "") print "last status before the stop: " last }' || true
done
