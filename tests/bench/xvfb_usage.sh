#!/usr/bin/env bash
# What the real program costs on an X server without a GPU: CPU (per cent of
# one core) and resident memory at the idle title and during a walk in the
# field, measured from /proc while the game runs under Xvfb in a window.
#
#   tests/bench/xvfb_usage.sh BUILD_DIR [h|s]
#
# XVFB_DISPLAY picks the display (default :48), MEASURE_SECONDS the length of
# each measurement (default 10). Needs Xvfb and xdotool.
set -euo pipefail
build="$(cd "${1:?usage: xvfb_usage.sh BUILD_DIR [h|s]}" && pwd)"
path="${2:-h}"
display="${XVFB_DISPLAY:-:48}"
seconds="${MEASURE_SECONDS:-10}"
game="$build/game/tarnwick"
datagen="$build/tools/datagen/tarnwick-datagen"
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "xvfb_usage: $tool is not installed" >&2; exit 2; }
done
[[ -x "$game" && -x "$datagen" ]] || { echo "xvfb_usage: build tarnwick and tarnwick-datagen first" >&2; exit 2; }

work="$(mktemp -d)"
xvfb_pid="" game_pid=""
cleanup() {
  [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$datagen" "$work/world" >/dev/null
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
kill -0 "$xvfb_pid" 2>/dev/null || { echo "xvfb_usage: Xvfb did not start on $display (in use?)" >&2; exit 1; }

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
(cd "$work/world" && TARNWICK_WINDOWED=1 SDL_AUDIODRIVER=dummy exec "$game" "$path") >"$work/game.log" 2>&1 &
game_pid=$!
timeout 20 xdotool search --sync --onlyvisible --pid "$game_pid" >/dev/null ||
  { echo "xvfb_usage: no game window" >&2; exit 1; }
sleep 3  # the title's fade-in; the window may be made anew for its renderer
window="$(xdotool search --onlyvisible --pid "$game_pid" | tail -1)"

ticks="$(getconf CLK_TCK)"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
status() { awk -v key="$1:" '$1 == key { print $2 }' "/proc/$game_pid/status"; }

# Prints "NAME cpu N % rss N MB threads N" over the next $seconds.
measure() {
  local before after
  before="$(cpu_ticks)"
  sleep "$seconds"
  after="$(cpu_ticks)"
  awk -v name="$1" -v t="$((after - before))" -v hz="$ticks" -v s="$seconds" -v rss="$(status VmRSS)" \
      -v threads="$(status Threads)" \
      'BEGIN { printf "%-6s cpu %5.1f %%  rss %4d MB  threads %d\n", name, 100 * t / (hz * s), rss / 1024, threads }'
}

# A click at a point of the 640 x 480 image (the window shows it unscaled).
# Input goes through XTEST, as a person's would, to the focused window.
click() {
  xdotool mousemove --window "$window" "$1" "$2"
  xdotool click 1
}

measure title

# New game puts the hero in the village; he walks and the view turns.
click 105 326
sleep 4
xdotool windowfocus --sync "$window"
xdotool keydown w
(for _ in $(seq $((seconds * 4))); do
   xdotool mousemove_relative -- 3 0
   sleep 0.25
 done) &
mover=$!
measure field
wait "$mover" || true
xdotool keyup w
