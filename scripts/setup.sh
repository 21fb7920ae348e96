#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and
# builds one build tree. Usage: scripts/setup.sh <build-dir> [extra cmake arguments...]
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config clang libclang-rt-14-dev
          libsdl2-dev libpng-dev zlib1g-dev libogg-dev libvorbis-dev libenet-dev libmpg123-dev libmp3lame-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          libxmp-dev freedroid-data ceferino-data)  # the mixer benchmark's peer and real modules
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

build_dir=$1
shift
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja "$@"
fi
cmake --build "$build_dir" --parallel "$(nproc)"
