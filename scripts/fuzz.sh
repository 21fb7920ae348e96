#!/usr/bin/env bash
# Builds the MOD and XM loader fuzzers, the WAV, OGG and MP3 stream fuzzers and the fuzzers of
# online play (the host step of a hosting client and of the dedicated server, the client
# dispatcher) with clang (AddressSanitizer and UBSan on), seeds a corpus with generated files and
# the real modules the mixer benchmark renders (the MOD files of freedroid-data and the XM file
# of ceferino-data, where installed), and runs each fuzzer for a bounded time. Exits non-zero on a finding; the
# crashing input is kept in build-fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds per fuzzer, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=build-fuzz

if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQXR_FUZZ=ON -DQXR_SANITIZE=ON -DQXR_BENCHMARKS=OFF
fi
cmake --build "$build" --target fuzz_mod fuzz_xm fuzz_seed_corpus fuzz_wav fuzz_ogg fuzz_mp3 fuzz_stream_seeds \
  fuzz_host_step fuzz_server_step fuzz_client_dispatcher qxrnet

seeds="$build/fuzz-seeds"
mkdir -p "$seeds/mod" "$seeds/xm" "$seeds/wav" "$seeds/ogg" "$seeds/mp3" "$build/findings"
"$build/bin/fuzz_seed_corpus" "$seeds/mod" "$seeds/xm"
"$build/bin/fuzz_stream_seeds" "$seeds/wav" "$seeds/ogg" "$seeds/mp3"
for f in /usr/share/games/freedroid/sound/*.mod; do
  if [ -f "$f" ]; then cp "$f" "$seeds/mod/"; fi
done
for f in /usr/share/games/ceferino/music/*.xm; do
  if [ -f "$f" ]; then cp "$f" "$seeds/xm/"; fi
done
# Real modules run from 15 KB to a few hundred: the limit lets them whole into the corpus.
module_max_len=1048576

# start_fuzzer <name> <longest input> <what it fuzzes> [seed folder]
# Every fuzzer runs on a core of its own at the same time, its report in its own log. The
# targets' own output is closed (libFuzzer keeps its reports, and the sanitizers', on a copy of
# standard error).
names=()
whats=()
pids=()
start_fuzzer() {
  local name=$1 max_len=$2 what=$3
  shift 3
  local corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  echo "Fuzzing $what for $seconds seconds"
  # A run that outlasts its time by minutes is stuck on one input: that is a finding too, and
  # the outer limit keeps it from holding up the test run.
  timeout -s KILL $((seconds + 120)) "$build/bin/fuzz_$name" -max_total_time="$seconds" -timeout=30 \
    -rss_limit_mb=2048 -max_len="$max_len" -close_fd_mask=3 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$name-" "$corpus" "$@" > "$build/logs/$name.log" 2>&1 &
  names+=("$name")
  whats+=("$what")
  pids+=($!)
}

mkdir -p "$build/logs"
for format in mod xm; do
  start_fuzzer "$format" "$module_max_len" "the $format reader" "$seeds/$format"
done
for format in wav ogg mp3; do
  start_fuzzer "$format" 16384 "the $format reader" "$seeds/$format"
done
# The game behind the packet fuzzers opens SDL's dummy screen.
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
start_fuzzer host_step 4096 "the host step of a hosting client"
start_fuzzer server_step 4096 "the host step of the dedicated server"
start_fuzzer client_dispatcher 4096 "the client dispatcher"

failed=0
for i in "${!pids[@]}"; do
  if wait "${pids[$i]}"; then
    grep -h "^Done " "$build/logs/${names[$i]}.log" | sed "s/^/${names[$i]}: /" || true
  else
    cat "$build/logs/${names[$i]}.log" >&2
    echo "The fuzzer of ${whats[$i]} found a fault; the input is in $build/findings/" >&2
    failed=1
  fi
done
exit "$failed"
