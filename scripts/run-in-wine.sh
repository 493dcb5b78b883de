#!/usr/bin/env bash
# Runs a Windows program inside the current Wine session (see
# wine-session.sh). The program and the files beside it are copied to C:\qv
# first, because the test prefix has no drive that reaches the build tree.
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ]; then
    echo "run-in-wine.sh: no Wine session; run through scripts/wine-session.sh" >&2
    exit 2
fi
program=$1
shift
target="$WINEPREFIX/drive_c/qv"
mkdir -p "$target"
cp -u "$(dirname "$program")"/*.exe "$target/"
cd "$target"
if [ -z "${QV_SYSTEM_DPI:-}" ]; then
    exec wine "C:\\qv\\$(basename "$program")" "$@"
fi
# QV_SYSTEM_DPI=144 runs the program at 144 DPI. Wine reads the DPI from
# HKCU\Control Panel\Desktop, LogPixels, when a program starts: the value is
# set for this program only and removed again, so that the programs after it
# in the session run at 96 DPI.
desktop='HKCU\Control Panel\Desktop'
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$QV_SYSTEM_DPI" /f >/dev/null
trap 'wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true' EXIT
wine "C:\\qv\\$(basename "$program")" "$@"
