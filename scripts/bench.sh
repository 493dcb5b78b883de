#!/usr/bin/env bash
# Runs the benchmark inside a Wine session (scripts/wine-session.sh), after
# making its folders of many files from the Unix side: through Wine, a
# million files take hours to make, with touch about half a minute.
#   bench.sh BINDIR [--small] [--listings]
set -euo pipefail
bin=$1
shift
sizes="10000 100000 1000000"
[ "${1:-}" = --small ] && sizes="1000 10000"
# Names as users have them: mostly "f0000123.ext", every twentieth with a
# Chinese stem, one in eleven without an extension.
for entries in $sizes; do
    folder="$QV_TEST_DRIVES/d/bench/n$entries"
    rm -rf "$folder"
    mkdir -p "$folder"
    (cd "$folder" && awk -v n="$entries" 'BEGIN {
        split(".txt .doc .bmp .wav .xls .zip .htm .jpg .ini .c", ext, " ")
        for (i = 0; i < n; i++)
            printf "%s%07d%s\n", (i % 20 == 0 ? "文档" : "f"), i, (i % 11 == 10 ? "" : ext[i % 11 + 1])
    }' | xargs touch)
done
status=0
"$(dirname "$0")/run-in-wine.sh" "$bin/qv_bench.exe" "$@" || status=$?
rm -rf "$QV_TEST_DRIVES/d/bench"
exit $status
