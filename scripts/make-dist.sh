#!/usr/bin/env bash
# Makes the zip a Windows user downloads.
#   make-dist.sh [BUILD_DIR [OUT_DIR]]     (build/win32 and dist by default)
# builds the 32-bit program in Release in BUILD_DIR, checks that a bare
# Windows can start it, and writes OUT_DIR/Quillvane-<version>-win32.zip:
# Quillvane.exe, 使用说明.txt (made from docs/使用说明.md), LICENSE and
# SHA256SUMS. The same commit gives the same zip, byte for byte.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build/win32}")
out=$(realpath -m "${2:-$root/dist}")

fail() {
    echo "make-dist: $*" >&2
    exit 1
}

command -v python3 >/dev/null || fail "python3 is missing (scripts/install-deps.sh installs it)"
command -v i686-w64-mingw32-objdump >/dev/null || fail "i686-w64-mingw32-objdump is missing (scripts/install-deps.sh installs it)"

# FILEVERSION 1, 0, 0, 1 names the zip Quillvane-1.0.0.1-win32.zip.
version=$(sed -n 's/^FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\) *$/\1.\2.\3.\4/p' "$root/res/Quillvane.rc")
[ -n "$version" ] || fail "res/Quillvane.rc has no FILEVERSION line"
version_text=${version//./, }

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target Quillvane
exe=$build/bin/Quillvane.exe

# What a bare Windows XP to 11 needs of the program.
headers=$(i686-w64-mingw32-objdump -p "$exe" 2>&1) ||
    fail "$exe is not a 32-bit Windows program (objdump: ${headers##*: })"
format=$(sed -n 's/.*file format //p' <<<"$headers" | head -n 1)
[ "$format" = pei-i386 ] || fail "$exe is $format, not a 32-bit Windows program (pei-i386)"
subsystem=$(sed -n 's/^Subsystem[[:space:]].*(\(.*\))$/\1/p' <<<"$headers")
[ "$subsystem" = "Windows GUI" ] || fail "$exe is a ${subsystem:-unknown} program, not a Windows GUI one"
while read -r dll; do
    case "${dll,,}" in
    lib*.dll) fail "$exe needs $dll, which Windows does not have: the C++ runtime, libgcc and winpthread must be linked in statically" ;;
    esac
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
# The version resource holds its texts in UTF-16LE.
pattern=$(sed 's/./&\\x00/g' <<<"$version_text")
LC_ALL=C grep -qaP "$pattern" "$exe" ||
    fail "$exe carries no version \"$version_text\": is res/Quillvane.rc linked in, with FileVersion \"$version_text\"?"
# Nothing of the machine that built it.
if i686-w64-mingw32-objdump -h "$exe" | grep -q '[[:space:]]\.debug_'; then
    fail "$exe carries debug information: the Release link strips it (-s)"
fi
for path in "$root" "$build"; do
    if grep -qaF "$path" "$exe"; then
        fail "$exe holds the build path $path"
    fi
done

stage=$build/dist-files
rm -rf "$stage"
mkdir -p "$stage" "$out"
cp "$exe" "$stage/Quillvane.exe"
python3 "$here/guide-text.py" "$root/docs/使用说明.md" "$stage/使用说明.txt"
# Notepad before Windows 10 shows text only with CRLF line ends.
sed 's/\r*$/\r/' "$root/LICENSE" >"$stage/LICENSE"
guide=$stage/使用说明.txt
[ "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$guide does not start with a UTF-8 byte order mark"
iconv -f UTF-8 -t UTF-8 "$guide" >/dev/null 2>&1 || fail "$guide is not valid UTF-8"
if grep -qv $'\r$' "$guide"; then
    fail "$guide has a line without CRLF"
fi
files=(Quillvane.exe 使用说明.txt LICENSE)
(cd "$stage" && sha256sum "${files[@]}" | sed 's/$/\r/' >SHA256SUMS)
files+=(SHA256SUMS)

zip=$out/Quillvane-$version-win32.zip
python3 "$here/write-zip.py" "$zip.part" "${files[@]/#/$stage/}"
mv "$zip.part" "$zip"
echo "make-dist: $zip, $(stat -c %s "$zip") bytes, SHA-256 $(sha256sum "$zip" | cut -d ' ' -f 1)"
