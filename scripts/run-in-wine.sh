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
exec wine "C:\\qv\\$(basename "$program")" "$@"
