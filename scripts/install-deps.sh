#!/usr/bin/env bash
# Installs what building and testing need on Debian, skipping what is there.
#   install-deps.sh              building, running and testing
#   install-deps.sh screenshots  that, and ImageMagick for `make screenshots`
set -euo pipefail

packages=(cmake make g++ libgtest-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
          wine wine32 wine64 xvfb xauth locales fonts-wqy-microhei python3
          fuse3 python3-fusepy)
case "${1:-}" in
"") ;;
screenshots) packages+=(imagemagick) ;;
*) echo "usage: install-deps.sh [screenshots]" >&2; exit 2 ;;
esac

sudo=
if [ "$(id -u)" != 0 ]; then
    sudo=sudo
fi

missing=()
for package in "${packages[@]}"; do
    query=$package
    [ "$package" = wine32 ] && query=wine32:i386
    if ! dpkg-query -W -f='${Status}' "$query" 2>/dev/null | grep -q 'ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
# The 32-bit Wine needs the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    "${missing[@]/wine32/wine32:i386}" >/dev/null
