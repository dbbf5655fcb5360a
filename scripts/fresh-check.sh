#!/usr/bin/env bash
# The README's demo command on a fresh Debian system: a copy of the minimal bookworm that
# package-check.sh keeps in build-debian-root/ (made with debootstrap when it is not there), with the
# lorvex package taken off it again, gets this source tree in /src/lorvex and runs
# `bash scripts/demo.sh` as root, which has to install what it needs itself. Passes when the demo
# ends with 0 and has shown the departments it dumped, changed and loaded back, the department sales
# report, the refused good in error.orv and in the /J result, and the goods dump. Needs root; the copy
# is removed at the end.
#
#   scripts/fresh-check.sh [time limit in seconds for the demo, default 900]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
    echo "fresh-check.sh: needs root (debootstrap, chroot and mount)" >&2
    exit 1
fi
limit=${1:-900}
base=$PWD/build-debian-root
root=$PWD/build-fresh-root
log=$PWD/build-fresh-check/demo.log
source scripts/lib/debian-root.sh

mounted=()
finish() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[$i]}" 2>/dev/null || true; done
    rm -rf "$root"
}
trap finish EXIT
trap 'exit 130' INT TERM

start=$(date +%s)
mkdir -p "$(dirname "$log")"
debian_root_ready "$base" bookworm
rm -rf "$root"
cp -a "$base" "$root"
in_root "$root" sh -c 'dpkg -r lorvex >/dev/null 2>&1 || true'
# The simulator needs pseudo-terminals, the compilers /proc.
for place in proc dev/pts; do
    case "$place" in
        proc) mount -t proc proc "$root/proc" ;;
        dev/pts) mount --bind /dev/pts "$root/dev/pts" ;;
    esac
    mounted+=("$root/$place")
done

# The source tree as the user has it: tracked and new files, no build directories.
mkdir -p "$root/src/lorvex"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -co --exclude-standard | tar --null -T - --ignore-failed-read -cf - 2>/dev/null
else
    tar --exclude='./build*' --exclude=./.git -cf - .
fi | tar -xf - -C "$root/src/lorvex"

code=0
timeout "$limit" chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    HOME=/root ${http_proxy:+http_proxy=$http_proxy} ${https_proxy:+https_proxy=$https_proxy} \
    bash -c 'cd /src/lorvex && bash scripts/demo.sh' >"$log" 2>&1 || code=$?
seconds=$(($(date +%s) - start))
output=$(cat "$log")
shown=yes
for expected in "^-- DZIALY.TXT" "^PLD01," "^20  Tandem" 'outcome: "partial"' \
    "^-- TOWARY.TXT (every PLU good): [1-9][0-9]* lines" "^== lorvex-sim stopped"; do
    grep -q "$expected" <<<"$output" || shown=no
done
# The price changed with sed is what the register holds after the load.
grep -A1 "^-- SPRAWDZ.TXT" <<<"$output" | grep -q "^DEP 1,.*  5.00," || shown=no
if [ "$code" -ne 0 ] || [ "$shown" = no ]; then
    tail -n 40 "$log"
    echo "fresh check: bash scripts/demo.sh on a fresh Debian system ended with $code after ${seconds} s (log: $log): 0 passed, 1 failed"
    exit 1
fi
grep -E "installing|^== |^-- [A-Z]+\.(TXT|JSON)|outcome:" "$log"
echo "fresh check: bash scripts/demo.sh works on a fresh Debian system (${seconds} s): 1 passed, 0 failed"
