#!/usr/bin/env bash
# Builds everything and runs every test: once in a normal build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELPRA_REQUIRE_TEST_TOOLS=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELPRA_SANITIZE=ON -DVELPRA_BUILD_BENCHMARKS=OFF -DVELPRA_REQUIRE_TEST_TOOLS=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs" -LE nosan)

# The Windows programs under Wine, when Qt for Windows has been built on this
# machine (it takes an hour, so it is never started from here).
source scripts/windows/qt-cache.sh
if [ -f "$qt_cache/.complete" ]; then
  bash scripts/build-windows.sh
  bash scripts/test-windows.sh
else
  echo "Windows tests skipped: no Qt for Windows built here (bash scripts/build-windows.sh builds it, about an hour the first time; then bash scripts/test-windows.sh)"
fi
