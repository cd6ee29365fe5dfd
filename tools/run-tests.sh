#!/bin/sh
# Builds Parlova twice and runs every test in both builds: plain as a user
# builds it (RelWithDebInfo, any warning an error), and a Debug build with
# AddressSanitizer + UBSan. Fails when any test fails.
set -e
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 4)
for variant in plain sanitize; do
  dir=build-tests-$variant
  if [ "$variant" = sanitize ]; then
    opts="-DCMAKE_BUILD_TYPE=Debug -DPARLOVA_SANITIZE=ON"
  else
    opts="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARLOVA_SANITIZE=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON"
  fi
  # shellcheck disable=SC2086
  cmake -S . -B "$dir" -G Ninja $opts
  cmake --build "$dir" -j "$jobs"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300
done
