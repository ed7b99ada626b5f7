#!/usr/bin/env bash
# Builds everything with the sanitizers and runs every test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/deps.sh"
cmake -S "$root" -B "$root/build-tests" -G Ninja -DTARNWICK_SANITIZE=ON -DTARNWICK_BENCH=ON
cmake --build "$root/build-tests"
cd "$root/build-tests"
ctest --output-on-failure -j "$(nproc)"
