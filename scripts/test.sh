#!/usr/bin/env bash
# Builds and runs every test: a Release build (build/), one with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/), and, where MinGW-w64 and Wine are installed, the
# Windows flavour (build-windows/lorvex.exe) end to end under Wine. Fails on the first failure.
# What the build and the tests need is installed first when missing (as root; otherwise the apt-get
# line to run is shown).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
lorvex_install test
jobs=${JOBS:-2}

run_build() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DLORVEX_TESTS=ON "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 300 -LE wine
}

run_build build -DCMAKE_BUILD_TYPE=Release -DLORVEX_WINDOWS_EXE=
run_build build-asan -DCMAKE_BUILD_TYPE=Debug -DLORVEX_SANITIZE=ON

if command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 && command -v wine >/dev/null 2>&1; then
    bash .ci/cross-windows
    cmake -S . -B build -DLORVEX_WINDOWS_EXE="$PWD/build-windows/lorvex.exe" >/dev/null
    cmake --build build -j"$jobs" --target wine_windows
    ctest --test-dir build --output-on-failure --timeout 300 -L wine
else
    echo "Windows flavour not tested: install g++-mingw-w64-x86-64-posix and wine (as .ci/run does)"
fi
