#!/usr/bin/env bash
# Times every benchmark job of lorvex against lorvex-sim at 9600 and 19200 baud (a Release build
# in build-bench/) and writes bench/RESULTS.md and bench/results.png. Takes several minutes: the
# pauses the protocol prescribes are part of every job. Options go to bench/run_bench.py
# (--help); e.g. --jobs "G dump" --baud 9600 for a single run.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 bench/run_bench.py "$@"
