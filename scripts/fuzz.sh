#!/usr/bin/env bash
# Builds the MOD and XM loader fuzzers and the WAV, OGG and MP3 stream fuzzers with clang
# (AddressSanitizer and UBSan on), seeds a corpus with generated files and runs each fuzzer for
# a bounded time. Exits non-zero on a finding; the crashing input is kept in build-fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds per fuzzer, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=build-fuzz

if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQXR_FUZZ=ON -DQXR_SANITIZE=ON -DQXR_BENCHMARKS=OFF
fi
cmake --build "$build" --target fuzz_mod fuzz_xm fuzz_seed_corpus fuzz_wav fuzz_ogg fuzz_mp3 fuzz_stream_seeds

seeds="$build/fuzz-seeds"
mkdir -p "$seeds/mod" "$seeds/xm" "$seeds/wav" "$seeds/ogg" "$seeds/mp3" "$build/findings"
"$build/bin/fuzz_seed_corpus" "$seeds/mod" "$seeds/xm"
"$build/bin/fuzz_stream_seeds" "$seeds/wav" "$seeds/ogg" "$seeds/mp3"

# run_fuzzer <format> <longest input>
run_fuzzer() {
  local format=$1 max_len=$2
  local corpus="$build/fuzz-corpus/$format"
  mkdir -p "$corpus"
  echo "Fuzzing the $format reader for $seconds seconds"
  if ! "$build/bin/fuzz_$format" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
      -max_len="$max_len" -close_fd_mask=1 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$format-" "$corpus" "$seeds/$format"; then
    echo "The $format fuzzer found a fault; the input is in $build/findings/" >&2
    exit 1
  fi
}

for format in mod xm; do
  run_fuzzer "$format" 8192
done
for format in wav ogg mp3; do
  run_fuzzer "$format" 16384
done
