#!/usr/bin/env bash
# Builds the fuzzers with clang (AddressSanitizer and UBSan on): the MOD and XM loaders, the
# host step (of a hosting client and of the dedicated server) and the client dispatcher. Seeds
# the loaders' corpus with generated modules and runs each fuzzer for a bounded time. Exits
# non-zero on a finding; the crashing input is kept in build-fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds per fuzzer, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=build-fuzz

if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQXR_FUZZ=ON -DQXR_SANITIZE=ON -DQXR_BENCHMARKS=OFF
fi
cmake --build "$build" --target fuzz_mod fuzz_xm fuzz_seed_corpus fuzz_host_step fuzz_server_step fuzz_client_dispatcher qxrnet

seeds="$build/fuzz-seeds"
mkdir -p "$seeds/mod" "$seeds/xm" "$build/findings"
"$build/bin/fuzz_seed_corpus" "$seeds/mod" "$seeds/xm"

# fuzz <name> <what it fuzzes> [seed folder]
# The targets' own output is closed (libFuzzer keeps its reports and the sanitizers' on a copy
# of standard error).
fuzz() {
  local name=$1 what=$2
  shift 2
  local corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  echo "Fuzzing $what for $seconds seconds"
  if ! "$build/bin/fuzz_$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
      -max_len=8192 -close_fd_mask=3 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$name-" "$corpus" "$@"; then
    echo "The fuzzer of $what found a fault; the input is in $build/findings/" >&2
    exit 1
  fi
}

fuzz mod "the MOD loader" "$seeds/mod"
fuzz xm "the XM loader" "$seeds/xm"
# Headless: the game behind the packet fuzzers opens SDL's dummy screen.
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fuzz host_step "the host step of a hosting client"
fuzz server_step "the host step of the dedicated server"
fuzz client_dispatcher "the client dispatcher"
