#!/usr/bin/env bash
# Checks that Windows XP SP3 on a CPU without SSE can start the 32-bit program:
#   check-xp.sh EXE
# The PE header asks for Windows 5.01 (XP) at most, every function the program
# imports is one that XP SP3 has (scripts/xp-imports.txt, with the DLL), and no
# instruction uses an SSE register.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
exe=${1:?usage: check-xp.sh EXE}
list=$here/xp-imports.txt
faults=0

fault() {
    echo "check-xp: $exe $*" >&2
    faults=$((faults + 1))
}

command -v i686-w64-mingw32-objdump >/dev/null ||
    { echo "check-xp: i686-w64-mingw32-objdump is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
headers=$(i686-w64-mingw32-objdump -p "$exe")

# The header's subsystem version is "the minimum required version of the
# subsystem" (/SUBSYSTEM), its OS version that "of the required operating
# system" (PE format); Windows XP is 5.01.
check_version() {  # objdump's name of the field, what it is
    local major minor
    major=$(sed -n "s/^Major$1Version[[:space:]]*//p" <<<"$headers")
    minor=$(sed -n "s/^Minor$1Version[[:space:]]*//p" <<<"$headers")
    if [ -z "$major" ] || [ -z "$minor" ]; then
        fault "has no $2 in its header"
    elif [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt 1 ]; }; then
        fault "asks for $2 $major.$minor; Windows XP is 5.01"
    fi
}
check_version Subsystem "subsystem version"
check_version OSystem "system version"

# Imports as "dll function", the DLL in lower case; an import by ordinal shows
# as "<none>" and is on no list.
imports=$(awk '/^The Import Tables/ { on = 1 }
               /^The (Export|Function) Table|^PE File Base Relocations/ { on = 0 }
               on && /DLL Name:/ { dll = tolower($3) }
               on && /^\t[0-9a-f]+\t/ { print dll, $NF }' <<<"$headers" | sort -u)
[ -n "$imports" ] || fault "imports nothing that objdump shows: is it a 32-bit Windows program?"
known=$(sed -e 's/#.*//' "$list" | awk 'NF >= 2 { print tolower($1), $2 }' | sort -u)
unknown=$(comm -23 <(echo "$imports") <(echo "$known"))
if [ -n "$unknown" ]; then
    fault "imports functions that are not on $list, of functions Windows XP SP3 has:"
    sed 's/^/    /' <<<"$unknown" >&2
fi

# Windows XP, Vista and 7 run on CPUs without SSE2 (Pentium III, Athlon XP),
# XP also on CPUs without any SSE.
disassembly=$(i686-w64-mingw32-objdump -d "$exe")
sse=$(grep -c '%xmm' <<<"$disassembly" || true)
if [ "$sse" -gt 0 ]; then
    fault "has $sse instructions on SSE registers (%xmm), which CPUs without SSE can't run; the first:"
    grep -m 3 '%xmm' <<<"$disassembly" | sed 's/^/    /' >&2
fi

[ "$faults" -eq 0 ] || exit 1
echo "check-xp: $(basename "$exe") asks for Windows XP (5.01) at most, imports $(wc -l <<<"$imports") functions that" \
    "XP SP3 has, and uses no SSE register"
