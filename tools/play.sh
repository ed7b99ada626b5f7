#!/usr/bin/env bash
# Builds the game, writes the sample world and plays it.
# TARNWICK_WINDOWED=1 plays in a window; arguments go to the game.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-play"
"$root/tools/deps.sh"
echo "play: configure ($build)"
cmake -S "$root" -B "$build" -G Ninja -DTARNWICK_TESTS=OFF
echo "play: build"
cmake --build "$build"
world="$build/sample-world"
echo "play: write the sample world ($world)"
"$build/tools/datagen/tarnwick-datagen" "$world"
echo "play: run (close the window or press Ctrl+C here to quit)"
cd "$world"
exec "$build/game/tarnwick" "$@"
