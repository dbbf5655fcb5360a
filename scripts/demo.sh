#!/usr/bin/env bash
# The lorvex demo, one screen: builds the programs, starts the simulated register (lorvex-sim) on a
# pseudo-terminal in a temporary directory, then with lorvex dumps the departments, changes one with
# sed and loads it back, reads the department sales report and zeroes it (/CL /R), loads a good the
# register refuses (error.orv and the /J result show it) and dumps every good, then stops the simulator.
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
        -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
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

# A run as shop software makes it: lorvex's exit code is the demo's, and error.orv (the register's
# refusals, one numbered message a line) is shown whenever the run left one.
run() {
    echo "== lorvex $*"
    local code=0
    "$lorvex" "$@" || code=$?
    if [ "$code" -ne 0 ]; then
        echo "demo.sh: lorvex ended with exit code $code" >&2
    fi
    if [ -f error.orv ]; then
        echo "-- error.orv:"
        cat error.orv
    fi
    return "$code"
}

# The departments, one changed with sed and loaded back.
run /P1 /CG /FDZIALY.TXT /S4
echo "-- DZIALY.TXT (departments, $(wc -l < DZIALY.TXT) lines; the first 3):"
head -n 3 DZIALY.TXT
sed -i '1s/^\(DEP 1,.\{18\},\) *[0-9.]*,/\1      5.00,/' DZIALY.TXT
echo "-- sed gives department 1 a fixed price:"
head -n 1 DZIALY.TXT
run /P1 /CG /L /FDZIALY.TXT /S4
run /P1 /CG /FSPRAWDZ.TXT /S4
echo "-- SPRAWDZ.TXT, department 1 as the register now holds it:"
head -n 1 SPRAWDZ.TXT

# The department sales report; /R zeroes its counters once read.
run /P1 /CL /R /FSPRZEDAZ.TXT /S4
echo "-- SPRZEDAZ.TXT (department sales, $(wc -l < SPRZEDAZ.TXT) lines; the first 3):"
head -n 3 SPRZEDAZ.TXT

# A good whose tandem (its returnable bottle, code 9999) the register does not hold: the register
# refuses it, the run still ends with 0, and error.orv and the /J result say what was refused.
echo "PLU7001           ,Piwo bezalkoh. 0.5,      3.99,A,1,00000,11,0,0000000009999" > NOWY.TXT
echo "-- NOWY.TXT:"
cat NOWY.TXT
run /P1 /CH /L /FNOWY.TXT /S4 /JWYNIK.JSON
echo "-- WYNIK.JSON (the /J result; the outcome and the statuses):"
sed -n 's/^ *"\(exit_code\|outcome\|line\|status\|message\)": \(.*\)$/   \1: \2/p' WYNIK.JSON | sed 's/,$//'

# /A asks for all goods in one range (the three code ranges would add 5 s pauses between them).
run /P1 /CH /A /FTOWARY.TXT /S4
echo "-- TOWARY.TXT (every PLU good): $(wc -l < TOWARY.TXT) lines"

kill -TERM "$sim_pid"
wait "$sim_pid" || true
sim_pid=""
echo "== lorvex-sim stopped; $(grep -c 'PC ' wire.log) lines of the PC on the wire"
