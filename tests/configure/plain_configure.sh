#!/usr/bin/env bash
# A user's plain configure on a machine without GoogleTest or Google Benchmark
# must still give the programs, and say in one message what it leaves out;
# the test script's strict configure must fail there instead of testing
# nothing. The missing packages are simulated with CMake's own switch.
set -u
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() { # what, condition...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; fail=1; fi
}
configure() { # build dir, options...
  local dir=$1; shift
  cmake -S "$src" -B "$work/$dir" "$@" >"$work/$dir.log" 2>&1
  local status=$?
  cmake --build "$work/$dir" --target help >"$work/$dir.targets" 2>/dev/null
  return $status
}
has() { grep -q -e "$2" "$work/$1.targets"; }
lacks() { ! has "$@"; }

configure no-gtest -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON
check "configures without GoogleTest" test $? -eq 0
check "names the tests it leaves out" grep -q "without the tests (GoogleTest not found" "$work/no-gtest.log"
check "one message, the benchmarks not named twice" test "$(grep -c "Building the programs without" "$work/no-gtest.log")" -eq 1
check "still has the programs" has no-gtest '\.\.\. velpra$'
check "still has the front end" has no-gtest '\.\.\. veldesk$'
check "has no test programs" lacks no-gtest 'test_'
check "has no benchmarks" lacks no-gtest 'bench_'

configure no-benchmark -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
check "configures without Google Benchmark" test $? -eq 0
check "names the benchmarks it leaves out" grep -q "without the benchmarks (Google Benchmark not found" "$work/no-benchmark.log"
check "keeps the tests" has no-benchmark 'test_driver'
check "has no benchmarks" lacks no-benchmark 'bench_'

for pkg in GTest benchmark; do
  configure strict-$pkg -DCMAKE_DISABLE_FIND_PACKAGE_$pkg=ON -DVELPRA_REQUIRE_TEST_TOOLS=ON
  check "the strict configure fails without $pkg" test $? -ne 0
done
exit $fail
