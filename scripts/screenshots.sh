#!/usr/bin/env bash
# Takes the README's screenshots.
#   screenshots.sh PROGRAM_DIR DOCS_DIR
# runs the driver (PROGRAM_DIR/qv_screenshots.exe, from tools/screenshots.cpp)
# in a fresh Wine session whose prefix lies beside PROGRAM_DIR's build, takes
# each picture it asks for with ImageMagick's import, checks every PNG
# against the rectangle the driver gave for it, and only then copies them to
# DOCS_DIR. QV_WINE_ARCH says which build's session it is (see wine-session.sh).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
pictures=(drives folder-details item-menu set-password vault-view)

fail() {
    echo "screenshots: $*" >&2
    exit 1
}

# Inside the Wine session: the display, the prefix and the drives are ready.
take_pictures() {
    local program_dir=$1 shots=$2
    # Wine started through the 64-bit loader directly looks for its own fonts
    # in the wrong folder and draws the caption buttons as letters without
    # Marlett: its fonts go into the prefix. The dialogs ask for 宋体, which is
    # drawn with WenQuanYi Micro Hei (fonts-wqy-microhei), as is every other
    # Chinese text.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    local face
    for face in 宋体 SimSun; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f >/dev/null
    done
    # The session's D:\elsewhere (a second file system for the tests) is no
    # part of the demo drive: only the link goes, not what it points to.
    rm -f "$QV_TEST_DRIVES/d/elsewhere"
    "$here/run-in-wine.sh" "$program_dir/qv_screenshots.exe" &
    local driver=$!
    # Each request is shots/NAME.rect ("x y width height"); the answer is
    # shots/NAME.png and then shots/NAME.done.
    while kill -0 "$driver" 2>/dev/null; do
        for request in "$shots"/*.rect; do
            [ -e "$request" ] || continue
            local name
            name=$(basename "$request" .rect)
            [ -e "$shots/$name.done" ] && continue
            local x y width height
            read -r x y width height <"$request"
            import -window root -crop "${width}x${height}+${x}+${y}" +repage "$shots/$name.png" ||
                fail "import could not take $name.png"
            touch "$shots/$name.done"
        done
        sleep 0.05
    done
    wait "$driver" || fail "the driver stopped with exit code $?"
}

if [ "${1:-}" = "--inside" ]; then
    take_pictures "$2" "$3"
    exit 0
fi

if [ $# -ne 2 ]; then
    echo "usage: screenshots.sh PROGRAM_DIR DOCS_DIR" >&2
    exit 2
fi
program_dir=$(realpath "$1")
docs=$2
[ -e "$program_dir/qv_screenshots.exe" ] || fail "$program_dir/qv_screenshots.exe is not built"
command -v import >/dev/null && command -v identify >/dev/null || fail "ImageMagick's import and identify are missing"

arch=${QV_WINE_ARCH:-$("$here/wine-arch.sh" run)}
work="$(dirname "$program_dir")/../wine-shots-$arch"
work=$(realpath -m "$work")
shots="$work/prefix/drive_c/shots"
# The tests' slow drive is no part of the demo either.
QV_WINE_ARCH=$arch QV_NO_SLOW_DRIVE=1 "$here/wine-session.sh" "$work" "$here/screenshots.sh" --inside "$program_dir" "$shots"

# Every picture must be there, not empty, and exactly the size of what it shows.
for name in "${pictures[@]}"; do
    png="$shots/$name.png"
    [ -e "$png" ] || fail "$name.png was not taken"
    [ -s "$png" ] || fail "$name.png is empty"
    read -r _ _ width height <"$shots/$name.rect"
    size=$(identify -format '%w %h' "$png" 2>/dev/null) || fail "$name.png is not a picture ImageMagick can read"
    [ "$size" = "$width $height" ] ||
        fail "$name.png is ${size/ /x} pixels, but the window it shows is ${width}x${height}"
done
mkdir -p "$docs"
for name in "${pictures[@]}"; do
    cp "$shots/$name.png" "$docs/$name.png"
done
echo "screenshots: ${#pictures[@]} pictures written to $docs/"
