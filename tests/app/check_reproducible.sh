#!/bin/bash
# The release is reproducible: built twice more from the same sources, in two
# folders of different names at different times, it comes out byte for byte
# as the release that was built first.
# usage: check_reproducible.sh SOURCE_DIR RELEASE_EXE
set -u
src=${1:?usage: check_reproducible.sh SOURCE_DIR RELEASE_EXE}
release=${2:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
for dir in "$work/one" "$work/a/second-folder"; do
    sleep 1  # a time stamp taken from the clock would differ
    if ! { cmake -S "$src" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" &&
           cmake --build "$dir" --target quorvane; } >"$work/build.log" 2>&1; then
        tail -20 "$work/build.log"
        echo "FAIL the release does not build in $dir"
        exit 1
    fi
    if cmp "$release" "$dir/quorvane.exe"; then
        echo "ok   built in ${dir#"$work"/}: the same $(stat -c %s "$release") bytes"
    else
        echo "FAIL built in ${dir#"$work"/}: differs from $release"
        fail=1
    fi
done
exit $fail
