#!/usr/bin/env bash
# Builds and runs every test: a Release build (build/) and one with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/). Fails on the first failing build or test.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}

run_build() {
    local dir=$1; shift
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 300
}

run_build build -DCMAKE_BUILD_TYPE=Release
run_build build-asan -DCMAKE_BUILD_TYPE=Debug -DLORVEX_SANITIZE=ON
