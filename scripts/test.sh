#!/usr/bin/env bash
# Builds and runs every test: the release build's suite, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the service's and the
# threaded planning's tests under ThreadSanitizer, the packing module's own
# tests, and a short bounded fuzzing run of the wave loader.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
fuzz_seconds=${DALVENOR_FUZZ_SECONDS:-30}

scripts/setup.sh

echo "== release build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== packing module and sample data tests"
/usr/bin/python3 -m unittest discover -s python -p '*_test.py'
/usr/bin/python3 -m unittest discover -s tests/data -p '*_test.py'

echo "== sanitizer build and tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DDALVENOR_SANITIZE=ON \
  -DDALVENOR_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== thread sanitizer build and the tests of threads"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDALVENOR_TSAN=ON \
  -DDALVENOR_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target dalvenor_tool test_app test_wave
TSAN_OPTIONS="suppressions=$root/tests/tsan.supp:halt_on_error=1" \
  ctest --test-dir build-tsan --output-on-failure -j "$jobs" \
  -R 'DalvenorServe|ConcurrentPlanning'

if [ -f fuzz/load_wave_fuzz.cpp ]; then
  echo "== fuzzing the wave loader for ${fuzz_seconds}s"
  CXX=clang++ cmake -S . -B build-fuzz -DDALVENOR_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build-fuzz -j "$jobs"
  mkdir -p build-fuzz/corpus
  (cd build-fuzz &&
    ASAN_OPTIONS=detect_leaks=0 ./fuzz_load_wave corpus "$root/fuzz/seeds" \
      -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=4096 \
      -print_final_stats=1)
fi
echo "== all tests passed"
