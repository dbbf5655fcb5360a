# Sourced by every script that makes a fresh Debian system. Sets debian_mirror to the package mirror
# this machine's apt uses for the given suite (first argument, e.g. bookworm) and exports http_proxy /
# https_proxy from apt's proxy setting when one is set and none is in the environment, so debootstrap
# goes the same way apt does. Reads the deb822 files in /etc/apt/sources.list.d first, then the one-line
# sources.list.
debian_mirror_for() {
    local suite=$1 dir=${APT_SOURCES_DIR:-/etc/apt} uri
    uri=$(cat "$dir"/sources.list.d/*.sources 2>/dev/null | awk -v suite="$suite" '
        # Stanzas part at blank lines: the deb stanza naming the suite, else the first deb stanza.
        function flush() {
            if (deb && uri != "" && first == "") first = uri
            if (deb && hit && uri != "") { print uri; found = 1; exit }
            deb = hit = 0; uri = ""
        }
        /^[ \t]*$/ { flush(); next }
        /^Types:/ { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1 }
        /^URIs:/ { uri = $2 }
        /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite) hit = 1 }
        END { if (!found) { flush(); if (!found && first != "") print first } }')
    if [ -z "$uri" ] && [ -r "$dir/sources.list" ]; then
        # deb [options] URI suite components: the line for the suite, else the first deb line.
        uri=$(sed -e 's/^[ \t]*//' -e 's/\[[^]]*\][ \t]*//' "$dir/sources.list" | awk -v suite="$suite" '
            $1 == "deb" && first == "" { first = $2 }
            $1 == "deb" && $3 == suite { print $2; found = 1; exit }
            END { if (!found && first != "") print first }')
    fi
    if [ -z "$uri" ]; then
        echo "no deb source for $suite in $dir/sources.list.d/*.sources or $dir/sources.list" >&2
        return 1
    fi
    printf '%s\n' "$uri"
}

debian_proxy_from_apt() {
    local scheme value
    command -v apt-config >/dev/null || return 0
    for scheme in http https; do
        value=$(apt-config dump "Acquire::$scheme::Proxy" 2>/dev/null |
            sed -n "s/^Acquire::$scheme::Proxy \"\(.*\)\";$/\1/p" | head -n 1)
        if [ -n "$value" ] && [ "$value" != DIRECT ] && [ -z "$(printenv "${scheme}_proxy")" ]; then
            export "${scheme}_proxy=$value"
        fi
    done
}
