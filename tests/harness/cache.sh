# Sourced: built machines and roots are kept outside the checkout, one folder
# per content key, so a fresh clone reuses them and a changed script builds
# anew. qv_cache_key FILE... prints the key of those files' content.
QV_CACHE=${QV_CACHE:-/var/cache/quorvane}
qv_cache_key() { cat "$@" | sha256sum | cut -c1-16; }
# qv_cache_lock NAME: holds a lock on NAME for the life of the calling shell.
qv_cache_lock() {
    mkdir -p "$QV_CACHE"
    exec {qv_lock_fd}>"$QV_CACHE/$1.lock"
    flock "$qv_lock_fd"
}
# qv_debian_mirror: the Debian archive this host installs from, read from its
# own apt sources (one-line and deb822 files): the address that serves the
# host's own release. QV_DEBIAN_MIRROR overrides it.
qv_debian_mirror() {
    if [ -n "${QV_DEBIAN_MIRROR:-}" ]; then echo "$QV_DEBIAN_MIRROR"; return; fi
    local codename mirror
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
                 /etc/apt/sources.list.d/*.sources 2>/dev/null |
        awk -v want="$codename" '
            function pick(uris, suites,   u, s, nu, ns, i, j) {
                if (found) return
                nu = split(uris, u, " "); ns = split(suites, s, " ")
                for (i = 1; i <= ns; i++) if (s[i] == want)
                    for (j = 1; j <= nu; j++) if (u[j] ~ /^https?:/) { print u[j]; found = 1; return }
            }
            /^[[:space:]]*#/ { next }
            /^deb[[:space:]]/ { sub(/\[[^]]*\]/, ""); pick($2, $3); next }
            /^[Tt]ypes:/ { types = $0 }
            /^URIs:/ { sub(/^URIs:[[:space:]]*/, ""); uris = $0 }
            /^Suites:/ { sub(/^Suites:[[:space:]]*/, ""); suites = $0 }
            /^[[:space:]]*$/ { if (types ~ /[[:space:]]deb([[:space:]]|$)/) pick(uris, suites)
                               types = uris = suites = "" }
            END { if (types ~ /[[:space:]]deb([[:space:]]|$)/) pick(uris, suites) }')
    if [ -z "$mirror" ]; then
        echo "no Debian mirror for '$codename' in this host's apt sources; set QV_DEBIAN_MIRROR" >&2
        return 1
    fi
    echo "${mirror%/}"
}
