#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the benchmarks need. Safe to run again.
#   tools/install-deps.sh [fuzz]   fuzz: also Debian's clang with its sanitizer and libFuzzer runtimes
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev
  libavfilter-dev libavdevice-dev ffmpeg
  libsdl1.2-dev
  zlib1g-dev libjpeg-dev libpng-dev libgif-dev
  libfreetype-dev libfontconfig-dev fonts-wqy-microhei fonts-dejavu-core
  libx11-dev libxext-dev libxrender-dev xvfb xauth
  xdg-utils
  libpixman-1-dev
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
