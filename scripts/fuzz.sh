#!/usr/bin/env bash
# Builds the libFuzzer programs with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz and runs each for a bounded time on its committed corpus. Executions per target go to
# build-fuzz/fuzz-stats.txt; any crash, leak or sanitizer report fails the script, and the input
# that caused it is left in build-fuzz/crashes/<target>/ to be added to fuzz/corpus/<target>/.
#
#   scripts/fuzz.sh [total seconds, default 120]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
total="${1:-120}"

have_fuzzer() {
    command -v clang++ >/dev/null 2>&1 || return 1
    echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer -o /dev/null - >/dev/null 2>&1
}
if ! have_fuzzer; then
    source "$root/scripts/lib/packages.sh"
    lorvex_install fuzz
    if ! command -v clang++ >/dev/null 2>&1; then
        export CC=clang-14 CXX=clang++-14
    fi
fi
export CC="${CC:-clang}" CXX="${CXX:-clang++}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLORVEX_FUZZ=ON \
    -DLORVEX_SANITIZE=ON -DCMAKE_CXX_COMPILER="$CXX" >/dev/null
targets=()
for source in "$root"/fuzz/*_fuzz.cpp; do
    name="$(basename "$source" _fuzz.cpp)"
    targets+=("$name")
done
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

per=$((total / ${#targets[@]}))
[ "$per" -ge 1 ] || per=1
stats="$build/fuzz-stats.txt"
: >"$stats"
failed=0
for name in "${targets[@]}"; do
    work="$build/corpus/$name"
    crashes="$build/crashes/$name"
    mkdir -p "$work" "$crashes"
    log="$build/fuzz-$name.log"
    echo "fuzz.sh: fuzz_$name for ${per}s"
    set +e
    # New inputs go to the work corpus; the committed one is only read.
    program="$build/fuzz_$name"
    [ -x "$program" ] || program="$build/fuzz/fuzz_$name"
    (cd "$crashes" && "$program" -max_total_time="$per" -timeout=25 -rss_limit_mb=2048 \
        -print_final_stats=1 "$work" "$root/fuzz/corpus/$name") >"$log" 2>&1
    status=$?
    set -e
    runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1 || true)"
    [ -n "$runs" ] || runs="$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' | tail -1 || true)"
    [ -n "$runs" ] || runs=0
    if [ "$status" -ne 0 ]; then
        result="FAILED"
        failed=1
        grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -20 || true
    else
        result="ok"
    fi
    echo "$name $runs $per $result" >>"$stats"
    echo "fuzz.sh: fuzz_$name: $runs executions, $result"
done
echo "fuzz.sh: statistics in $stats"
exit "$failed"
