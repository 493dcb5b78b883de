#!/usr/bin/env bash
# Runs a command inside a private Wine session: a fresh prefix whose drives
# are folders under WORKDIR, code page 936 and an X display.
#   wine-session.sh WORKDIR [--user] command...
# The prefix is 32-bit or 64-bit as QV_WINE_ARCH says (win32 or win64; by
# default what scripts/wine-arch.sh picks for running).
# With --user the prefix is kept between runs and keeps Wine's usual drives
# (for running the program by hand); otherwise it is made anew with test drives
#   A: floppy, C: system, D: and E: fixed disks, F: CD-ROM,
#   G: a network drive that answers as slowly as C:\qv\slow-delay says
#      (seconds; scripts/slow-drive.py), where FUSE is there (QV_SLOW_DRIVE=G),
# and without the drive that maps the Unix root, so nothing outside WORKDIR
# can be reached.
set -euo pipefail

work=$(realpath -m "$1")
shift
user_session=0
if [ "${1:-}" = "--user" ]; then
    user_session=1
    shift
fi
here=$(cd "$(dirname "$0")" && pwd)

arch=${QV_WINE_ARCH:-$("$here/wine-arch.sh" run)}
export QV_WINE_ARCH=$arch WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$work/prefix"

if [ "$arch" = win64 ]; then
    # With wine32 installed, Debian's wine script picks the 32-bit loader even
    # for 64-bit programs, and a symlink named wine to wine64 can't find its
    # loader: small scripts call the 64-bit loader and server directly.
    wrappers="$work.bin"
    mkdir -p "$wrappers"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$wrappers/wine"
    printf '#!/bin/sh\nexec /usr/lib/wine/wineserver64 "$@"\n' >"$wrappers/wineserver"
    chmod +x "$wrappers/wine" "$wrappers/wineserver"
    export PATH="$wrappers:$PATH"
fi

# Wine decodes Unix file names with the C library's locale: without a real
# zh_CN.UTF-8 locale, Chinese names come out garbled. Tests that run under
# code page 1252 use en_US.UTF-8.
locales="$(dirname "$work")/locale"
for locale in zh_CN en_US; do
    if [ ! -e "$locales/$locale.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$locales"
        localedef -i $locale -f UTF-8 "$locales/$locale.UTF-8" 2>/dev/null || true
    fi
done
export LOCPATH="$locales"
{ export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8; } 2>/dev/null  # this shell itself has no such locale

xvfb_pid=
elsewhere=
slow_mount="$work/slow/mount"
slow_pid=
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    [ -n "$elsewhere" ] && rm -rf "$elsewhere"
    if [ -n "$slow_pid" ]; then
        fusermount -uz "$slow_mount" 2>/dev/null || true
        kill "$slow_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || [ "$user_session" = 0 ]; then
    exec {display_fd}<> <(:)
    Xvfb -displayfd "$display_fd" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r -t 20 display_number <&"$display_fd"
    export DISPLAY=":$display_number"
fi

if [ "$user_session" = 0 ]; then
    # A file system an earlier session left mounted would stop the removal.
    fusermount -uz "$slow_mount" 2>/dev/null || true
    rm -rf "$work"
fi
mkdir -p "$work"
if [ ! -d "$WINEPREFIX/dosdevices" ]; then
    wine wineboot -i >/dev/null 2>&1
    wineserver -w
fi

if [ "$user_session" = 0 ]; then
    mkdir -p "$work/drives/a" "$work/drives/d" "$work/drives/e" "$work/drives/f"
    rm -f "$WINEPREFIX/dosdevices/z:" "$WINEPREFIX"/dosdevices/[abdefg]:
    for letter in a d e f; do
        ln -s "$work/drives/$letter" "$WINEPREFIX/dosdevices/$letter:"
    done
    # D:\elsewhere lies on another file system, where no rename reaches:
    # /dev/shm is a tmpfs on most machines. Without one the tests say so.
    elsewhere=$(mktemp -d /dev/shm/qv-elsewhere.XXXXXX 2>/dev/null) || elsewhere=
    if [ -n "$elsewhere" ] && [ "$(stat -c %d "$elsewhere")" != "$(stat -c %d "$work/drives/d")" ]; then
        ln -s "$elsewhere" "$work/drives/d/elsewhere"
    fi
    # G: is slow on request: a FUSE file system whose statfs, readdir and root
    # getattr wait. Where FUSE or fusepy is missing, the tests say so.
    if [ -z "${QV_NO_SLOW_DRIVE:-}" ] && [ -e /dev/fuse ] && /usr/bin/python3 -c 'import fusepy' 2>/dev/null; then
        mkdir -p "$work/slow/backing/locked" "$slow_mount" "$WINEPREFIX/drive_c/qv"
        /usr/bin/python3 "$here/slow-drive.py" "$work/slow/backing" "$slow_mount" \
            "$WINEPREFIX/drive_c/qv/slow-delay" >"$work/slow/log" 2>&1 &
        slow_pid=$!
        for _ in $(seq 50); do
            mountpoint -q "$slow_mount" && break
            sleep 0.1
        done
        if mountpoint -q "$slow_mount"; then
            ln -s "$slow_mount" "$WINEPREFIX/dosdevices/g:"
            export QV_SLOW_DRIVE=G
        fi
    fi
    # Once the Unix root is gone Wine reaches only what lies on its drives.
    cp "$here/test-drives.reg" "$WINEPREFIX/drive_c/test-drives.reg"
    (cd "$WINEPREFIX/drive_c" && wine regedit /S 'C:\test-drives.reg')
    wineserver -w
    export QV_TEST_DRIVES="$work/drives"
fi

# One wine server for the whole session keeps each program start short. The
# first program also starts Wine's background services, which would hold a
# test runner's output pipe open; start them here, away from any pipe.
wineserver -p
(cd "$WINEPREFIX/drive_c" && wine cmd /c exit) </dev/null >/dev/null 2>&1
"$@"
