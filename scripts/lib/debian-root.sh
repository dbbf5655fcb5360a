# Sourced by the scripts that try things on a fresh Debian system. debian_root_ready ROOT SUITE makes a
# minimal system with debootstrap in ROOT (from the mirror this machine's apt uses, see
# debian-mirror.sh), unless one is there from an earlier run. in_root ROOT COMMAND... runs a command
# in it with a clean environment (and the proxy apt uses, if any).
source "$(dirname "${BASH_SOURCE[0]}")/debian-mirror.sh"

debian_root_ready() {
    local root=$1 suite=$2 mirror
    debian_proxy_from_apt
    if [ ! -x "$root/usr/bin/apt-get" ]; then
        mirror=$(debian_mirror_for "$suite")
        command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null
        rm -rf "$root"
        debootstrap --variant=minbase "$suite" "$root" "$mirror" >/dev/null
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
}

in_root() {
    local root=$1
    shift
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 HOME=/root \
        DEBIAN_FRONTEND=noninteractive \
        ${http_proxy:+http_proxy=$http_proxy} ${https_proxy:+https_proxy=$https_proxy} "$@"
}
