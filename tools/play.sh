#!/usr/bin/env bash
# Builds the game, writes the sample world and plays it.
# TARNWICK_WINDOWED=1 plays in a window; arguments go to the game ("s" = software renderer).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/deps.sh"
cmake -S "$root" -B "$root/build-play" -G Ninja -DTARNWICK_TESTS=OFF
cmake --build "$root/build-play"
world="$root/build-play/sample-world"
"$root/build-play/tools/datagen/tarnwick-datagen" "$world"
cd "$world"
exec "$root/build-play/game/tarnwick" "$@"
