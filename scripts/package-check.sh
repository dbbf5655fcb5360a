#!/usr/bin/env bash
# Builds the .deb and installs it on a fresh Debian system (a minimal bookworm made with
# debootstrap, kept in build-debian-root/ for the next run), then runs `lorvex /H` and `man lorvex`
# there. Needs root and the package mirror this machine's apt uses (scripts/lib/debian-mirror.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
root=$PWD/build-debian-root
suite=bookworm
source scripts/lib/debian-mirror.sh
mirror=$(debian_mirror_for "$suite")
debian_proxy_from_apt

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target lorvex lorvex-sim
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lorvex_*_amd64.deb | tail -n 1)

if [ ! -x "$root/usr/bin/apt-get" ]; then
    command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null
    rm -rf "$root"
    debootstrap --variant=minbase "$suite" "$root" "$mirror" >/dev/null
fi
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
cp "$deb" "$root/tmp/lorvex.deb"
in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive \
        ${http_proxy:+http_proxy=$http_proxy} ${https_proxy:+https_proxy=$https_proxy} "$@"
}

# A fresh system: no lorvex yet, then the package with its dependencies.
in_root sh -c 'dpkg -r lorvex >/dev/null 2>&1 || true'
in_root sh -c 'command -v man >/dev/null || (apt-get update -qq && apt-get install -y -qq man-db >/dev/null)'
in_root dpkg -i /tmp/lorvex.deb >/dev/null
# Whole outputs first: grep -q leaving a pipe early would fail the pipeline.
help=$(in_root lorvex /H)
sim_help=$(in_root lorvex-sim --help)
manual=$(in_root man -P cat lorvex 2>/dev/null)
sim_manual=$(in_root man -P cat lorvex-sim 2>/dev/null)
grep -q "Dostępne opcje:" <<<"$help"
grep -q "simulated ER-ORVEX" <<<"$sim_help"
grep -q "lorvex - move programming data" <<<"$manual"
grep -q "pseudo-terminal" <<<"$sim_manual"
echo "package check: $(basename "$deb") installs and runs on a fresh Debian system: 1 passed, 0 failed"
