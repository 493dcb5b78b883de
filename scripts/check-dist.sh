#!/usr/bin/env bash
# Checks that the release zip comes out the same from every build.
#   check-dist.sh [BUILD]     (build by default)
# makes the zip from BUILD/win32 into dist/, as `make dist` does, then builds
# the program again from nothing in BUILD/dist-check, makes the zip from that,
# and compares the two programs and the two zips byte for byte.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build}")
again=$build/dist-check

fail() {
    echo "check-dist: $*" >&2
    exit 1
}

"$here/make-dist.sh" "$build/win32" "$root/dist" >"$build/dist.log" ||
    { cat "$build/dist.log"; fail "make-dist.sh failed on $build/win32"; }
rm -rf "$again"
"$here/make-dist.sh" "$again" "$again/dist" >"$build/dist-check.log" ||
    { cat "$build/dist-check.log"; fail "make-dist.sh failed on a fresh build in $again"; }

cmp "$build/win32/bin/Quillvane.exe" "$again/bin/Quillvane.exe" ||
    fail "the program built in $again differs from the one in $build/win32"
for zip in "$again"/dist/*.zip; do
    cmp "$root/dist/$(basename "$zip")" "$zip" ||
        fail "$(basename "$zip") made from $again differs from the one in dist/"
done
echo "check-dist: the program and $(basename "$zip") are the same from two builds"
