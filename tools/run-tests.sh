#!/bin/sh
# Builds Parlova twice, plain and with AddressSanitizer + UBSan, and runs
# every test in both builds. Fails when any test fails.
set -e
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 4)
for variant in plain sanitize; do
  dir=build-tests-$variant
  opt=OFF
  [ "$variant" = sanitize ] && opt=ON
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPARLOVA_SANITIZE=$opt
  cmake --build "$dir" -j "$jobs"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300
done
