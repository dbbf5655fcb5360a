#!/usr/bin/env bash
# Builds the .deb and installs it on a fresh Debian system (a minimal bookworm made with
# debootstrap, kept in build-debian-root/ for the next run), then checks there: both programs run,
# their manual pages read, the copyright file is in place and `lorvex --version` names the
# package's version. Needs root and the package mirror this machine's apt uses
# (scripts/lib/debian-mirror.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
root=$PWD/build-debian-root
source scripts/lib/debian-root.sh

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target lorvex lorvex-sim
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lorvex_*_amd64.deb | tail -n 1)
version=$(dpkg-deb -f "$deb" Version)

debian_root_ready "$root" bookworm
cp "$deb" "$root/tmp/lorvex.deb"

# A fresh system: no lorvex yet, then the package with its dependencies.
in_root "$root" sh -c 'dpkg -r lorvex >/dev/null 2>&1 || true'
in_root "$root" sh -c 'command -v man >/dev/null || (apt-get update -qq && apt-get install -y -qq man-db >/dev/null)'
in_root "$root" dpkg -i /tmp/lorvex.deb >/dev/null
# Whole outputs first: grep -q leaving a pipe early would fail the pipeline.
help=$(in_root "$root" lorvex /H)
sim_help=$(in_root "$root" lorvex-sim --help)
manual=$(in_root "$root" man -P cat lorvex 2>/dev/null)
sim_manual=$(in_root "$root" man -P cat lorvex-sim 2>/dev/null)
version_line=$(in_root "$root" lorvex --version 2>/dev/null || true)
grep -q "Dostępne opcje:" <<<"$help"
grep -q "simulated ER-ORVEX" <<<"$sim_help"
grep -q "lorvex - move programming data" <<<"$manual"
grep -q "lorvex $version" <<<"$manual"
grep -q "pseudo-terminal" <<<"$sim_manual"
grep -q "lorvex $version" <<<"$sim_manual"
test -f "$root/usr/share/man/man1/lorvex.1.gz" -a -f "$root/usr/share/man/man1/lorvex-sim.1.gz"
grep -q "^Copyright: .*lorvex developers" "$root/usr/share/doc/lorvex/copyright"
checks=8
if grep -q "^lorvex " <<<"$version_line"; then
    [ "$version_line" = "lorvex $version" ]
    checks=9
else
    echo "package check: this lorvex has no --version; its version line is not checked"
fi
echo "package check: $(basename "$deb") (version $version) installs and runs on a fresh Debian system: $checks passed, 0 failed"
