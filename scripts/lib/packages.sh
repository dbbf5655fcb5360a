# Sourced by .ci/run, demo.sh and test.sh: the Debian packages each purpose needs, in one place.
#
#   lorvex_packages PURPOSE...    prints the packages of the purposes, one line
#   lorvex_install PURPOSE...     installs the missing ones: as root with apt-get; otherwise prints
#                                 the one apt-get line to run and fails

lorvex_packages() {
    local purpose list=()
    for purpose in "$@"; do
        case "$purpose" in
            demo) list+=(cmake g++ make nlohmann-json3-dev) ;;         # build both programs
            test) list+=(cmake g++ make nlohmann-json3-dev libgtest-dev cldump ser2net python3-jsonschema) ;; # every test: cldump reads tables back, ser2net is the network peer, jsonschema checks /J results
            windows) list+=(g++-mingw-w64-x86-64-posix wine wine64) ;; # lorvex.exe, tried under Wine
            fuzz) list+=(clang-14 libclang-rt-14-dev) ;;               # the libFuzzer targets
            package) list+=(debootstrap man-db) ;;                     # the fresh-system checks
            *) echo "packages.sh: no purpose $purpose" >&2; return 2 ;;
        esac
    done
    printf '%s\n' "${list[@]}" | awk '!seen[$0]++' | paste -sd ' '
}

lorvex_install() {
    local wanted missing=() p
    wanted=$(lorvex_packages "$@") || return
    # Not Debian: the user knows best what their system needs.
    command -v dpkg-query >/dev/null || return 0
    for p in $wanted; do
        [ "$(dpkg-query -W -f '${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "$(basename "$0"): first install what it needs, as root:" >&2
        echo "    apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    echo "$(basename "$0"): installing ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq -o DPkg::Lock::Timeout=600 "${missing[@]}" >/dev/null
}
