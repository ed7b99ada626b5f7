#!/usr/bin/env bash
# Builds everything with the sanitizers and runs every test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-tests"
"$root/tools/deps.sh"
echo "test: configure ($build)"
cmake -S "$root" -B "$build" -G Ninja -DTARNWICK_SANITIZE=ON -DTARNWICK_BENCH=ON
echo "test: build"
cmake --build "$build"
echo "test: run"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
