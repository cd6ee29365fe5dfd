#!/bin/sh
# Builds Parlova and starts it.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARLOVA_TESTS=OFF
cmake --build build -j "$(nproc 2>/dev/null || echo 4)"
exec build/parlova "$@"
