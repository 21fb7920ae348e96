#!/usr/bin/env bash
# Runs the whole test suite (./test.sh: both builds, their tests and the fuzzers) on a busy
# machine: stress-ng keeps twice as many CPU workers running as there are cores until it ends.
# Prints how long it took and the load at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --packages
workers=$((2 * $(nproc)))
stress-ng --cpu "$workers" --timeout 4h --quiet &
stress=$!
trap 'kill "$stress" 2>/dev/null || true; wait "$stress" 2>/dev/null || true' EXIT
start=$(date +%s)
status=0
./test.sh || status=$?
echo "The suite took $(($(date +%s) - start)) s beside stress-ng --cpu $workers; load average $(cut -d' ' -f1-3 /proc/loadavg)."
exit "$status"
