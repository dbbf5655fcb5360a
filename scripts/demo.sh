#!/usr/bin/env bash
# The lorvex demo: builds the programs, starts the simulated register (lorvex-sim) on a
# pseudo-terminal in a temporary directory, reads its departments and PLU goods with lorvex and
# shows the exchange files, then stops the simulator.
#
#   scripts/demo.sh                  build into ./build, then run the demo
#   scripts/demo.sh --no-build       use the programs already in the build directory
#   scripts/demo.sh --build-dir DIR  build into (or use) DIR
#
# The files are written with /S4 (UTF-8), so the Polish letters show as they are. What the build
# needs is installed first when missing (as root; otherwise the apt-get line to run is shown).
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$source_dir/scripts/lib/packages.sh"
build_dir="$source_dir/build"
build=yes
while [ $# -gt 0 ]; do
    case "$1" in
        --no-build) build=no ;;
        --build-dir) shift; build_dir=$(cd "${1:?--build-dir needs a directory}" 2>/dev/null && pwd || echo "$1") ;;
        -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
        *) echo "demo.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
    esac
    shift
done

if [ "$build" = yes ]; then
    lorvex_install demo
    # A new build directory leaves the tests out (they need GoogleTest); test.sh turns them on.
    tests=()
    [ -f "$build_dir/CMakeCache.txt" ] || tests=(-DLORVEX_TESTS=OFF)
    cmake -S "$source_dir" -B "$build_dir" "${tests[@]}"
    cmake --build "$build_dir" -j2 --target lorvex lorvex-sim
fi
lorvex="$build_dir/lorvex"
sim="$build_dir/lorvex-sim"
for program in "$lorvex" "$sim"; do
    if [ ! -x "$program" ]; then
        echo "demo.sh: $program is missing; build first (drop --no-build)" >&2
        exit 1
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lorvex-demo.XXXXXX")
sim_pid=""
finish() {
    if [ -n "$sim_pid" ] && kill -0 "$sim_pid" 2>/dev/null; then
        kill -TERM "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT TERM

cd "$work"
"$sim" --port 1 --log wire.log > sim.out 2> sim.err &
sim_pid=$!
for _ in $(seq 1 100); do
    grep -q "serving" sim.out 2>/dev/null && break
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        echo "demo.sh: lorvex-sim did not start:" >&2
        cat sim.err >&2
        exit 1
    fi
    sleep 0.1
done
if ! grep -q "serving" sim.out; then
    echo "demo.sh: lorvex-sim did not get ready" >&2
    exit 1
fi
echo "== $(cat sim.out)"

show() { cat "$1"; }

run() {
    echo "== lorvex $*"
    local code=0
    "$lorvex" "$@" || code=$?
    if [ "$code" -ne 0 ]; then
        echo "demo.sh: lorvex ended with exit code $code" >&2
    fi
    if [ -f error.orv ]; then
        echo "-- error.orv:"
        show error.orv
    fi
    return "$code"
}

run /P1 /CG /FDZIALY.TXT /S4
echo "-- DZIALY.TXT (departments):"
show DZIALY.TXT

# /A asks for all goods in one range (the three code ranges would add 5 s pauses between them).
run /P1 /CH /A /FTOWARY.TXT /S4
echo "-- TOWARY.TXT (PLU goods, $(wc -l < TOWARY.TXT) lines):"
show TOWARY.TXT

kill -TERM "$sim_pid"
wait "$sim_pid" || true
sim_pid=""
echo "== lorvex-sim stopped; $(grep -c 'PC ' wire.log) lines of the PC on the wire"
