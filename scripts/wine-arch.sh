#!/usr/bin/env bash
# Says which Wine architectures this machine runs the program under.
#   wine-arch.sh run    the one to run: win32 where 32-bit programs can run, else win64
#   wine-arch.sh test   the ones to test: win32 (where it can run) and win64
# QV_WINE_ARCH=win32|win64 forces one architecture for both questions.
# When win32 can't be used, one line on standard error says why.
set -euo pipefail

question=${1:-run}
loader32=/usr/lib/wine/wine

# Some kernels boot with 32-bit emulation off: every 32-bit Linux program,
# Wine's 32-bit loader included, then fails with "Exec format error".
why_not_32=
if [ ! -x "$loader32" ]; then
    why_not_32="Wine's 32-bit loader ($loader32) is not installed"
elif ! "$loader32" --version >/dev/null 2>&1; then
    why_not_32="this kernel can't run 32-bit programs (Wine's 32-bit loader fails to start)"
fi

case "${QV_WINE_ARCH:-}" in
win32)
    if [ -n "$why_not_32" ]; then
        echo "QV_WINE_ARCH=win32, but $why_not_32" >&2
        exit 1
    fi
    echo win32
    exit 0
    ;;
win64) echo win64; exit 0 ;;
"") ;;
*) echo "QV_WINE_ARCH must be win32 or win64, not '$QV_WINE_ARCH'" >&2; exit 1 ;;
esac

case "$question" in
run)
    if [ -z "$why_not_32" ]; then
        echo win32
    else
        echo "Note: running the 64-bit build, because $why_not_32." >&2
        echo win64
    fi
    ;;
test)
    if [ -z "$why_not_32" ]; then
        echo win32 win64
    else
        echo "Note: only the 64-bit build is tested under Wine, because $why_not_32." >&2
        echo win64
    fi
    ;;
*) echo "usage: wine-arch.sh run|test" >&2; exit 2 ;;
esac
