#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: once in a normal
# build, once with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer; the fuzz
# targets run for a bounded time in between.
set -euo pipefail
cd "$(dirname "$0")"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
jobs=$(nproc)

scripts/setup.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd build && ctest --output-on-failure --parallel "$jobs" --timeout 300)

scripts/fuzz.sh

scripts/setup.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQXR_SANITIZE=ON -DQXR_BENCHMARKS=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
   LSAN_OPTIONS=suppressions="$PWD/../tests/lsan.supp" \
   ctest --output-on-failure --parallel "$jobs" --timeout 600)
