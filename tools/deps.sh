#!/usr/bin/env bash
# Installs, with apt-get, whatever a fresh Debian machine lacks to build and test.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libfreetype-dev libfontconfig1-dev fonts-arphic-uming libsndfile1-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
  xvfb xdotool openbox x11-apps x11-utils clang-format)

if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
  echo "deps: this script needs Debian's dpkg-query and apt-get; install these by hand: ${packages[*]}" >&2
  exit 1
fi

echo "deps: checking ${#packages[@]} packages"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  echo "deps: everything is installed"
  exit 0
fi
echo "deps: missing: ${missing[*]}"

# env carries the setting through sudo, which would otherwise drop it.
if [[ $(id -u) -eq 0 ]]; then
  as_root=(env DEBIAN_FRONTEND=noninteractive)
elif command -v sudo >/dev/null; then
  echo "deps: not root, installing through sudo"
  as_root=(sudo env DEBIAN_FRONTEND=noninteractive)
else
  echo "deps: cannot install: this is not root and sudo is not available." >&2
  echo "deps: as root, run: apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "deps: apt-get update"
"${as_root[@]}" apt-get update -q
echo "deps: apt-get install ${missing[*]}"
"${as_root[@]}" apt-get install -y -q "${missing[@]}"
echo "deps: done"
