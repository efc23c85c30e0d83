# Sourced: built machines and roots are kept outside the checkout, one folder
# per content key, so a fresh clone reuses them and a changed script builds
# anew. qv_cache_key FILE... prints the key of those files' content.
QV_CACHE=${QV_CACHE:-/var/cache/quorvane}
# Where the builds fetch Debian's packages.
QV_DEBIAN_MIRROR=${QV_DEBIAN_MIRROR:-http://deb.debian.org/debian}
qv_cache_key() { cat "$@" | sha256sum | cut -c1-16; }
# qv_cache_lock NAME: holds a lock on NAME for the life of the calling shell.
qv_cache_lock() {
    mkdir -p "$QV_CACHE"
    exec {qv_lock_fd}>"$QV_CACHE/$1.lock"
    flock "$qv_lock_fd"
}
