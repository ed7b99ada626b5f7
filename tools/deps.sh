#!/usr/bin/env bash
# Installs, with apt-get, whatever a fresh Debian machine lacks to build and test.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libfreetype-dev libfontconfig1-dev fonts-arphic-uming libsndfile1-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
