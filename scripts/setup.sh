#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those missing), then configures
# and builds one build tree: everything, or only the given targets.
# Usage: scripts/setup.sh --packages                  (the packages only)
#        scripts/setup.sh [--targets "a b"] <build-dir> [extra cmake arguments...]
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config clang libclang-rt-14-dev
          libsdl2-dev libpng-dev zlib1g-dev libogg-dev libvorbis-dev libenet-dev libmpg123-dev libmp3lame-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          stress-ng   # the busy machine of scripts/stress-test.sh
          libxmp-dev)  # the mixer benchmark's peer
# Real MOD and XM files for the mixer benchmark (installed without the games they belong to).
corpus=(freedroid-data ceferino-data bomberclone-data njam-data tecnoballz-data)
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
updated=0
# install_missing [apt-get options...] -- packages...
install_missing() {
  local options=()
  while [ "$1" != "--" ]; do options+=("$1"); shift; done
  shift
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$updated" -eq 0 ]; then
      $sudo_cmd apt-get update -qq
      updated=1
    fi
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${options[@]}" "${missing[@]}"
  fi
}
install_missing -- "${packages[@]}"
install_missing --no-install-recommends -- "${corpus[@]}"
if [ "${1:-}" = "--packages" ]; then
  exit 0
fi

targets=()
if [ "${1:-}" = "--targets" ]; then
  read -r -a targets <<< "$2"
  shift 2
fi
build_dir=$1
shift
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja "$@"
fi
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "$build_dir" --parallel "$(nproc)" --target "${targets[@]}"
else
  cmake --build "$build_dir" --parallel "$(nproc)"
fi
