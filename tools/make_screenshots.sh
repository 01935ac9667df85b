#!/bin/sh
# Draws the pictures of the README's "Look" section from the real windows, headless.
#
#   tools/make_screenshots.sh [LABEL [REVISION]]
#
# writes docs/look/<shot>-LABEL.png (LABEL defaults to "after"): the round clock, the
# words panel, the game settings, the words list without words and the tally window
# at scale 1, and the board's tiles at scale 2. With a REVISION (a commit, a branch)
# the pictures show that revision instead: its files are exported into a temporary
# folder, given this tool, and built there (Debug, with ccache when present).
# BUILD_DIR names a configured build of this tree to use instead of build/lookshots.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
label=${1:-after}
revision=${2:-}
out="$top/docs/look"
mkdir -p "$out"

source_dir=$top
build=${BUILD_DIR:-$top/build/lookshots}
scratch=
cleanup() {
    if [ -n "$scratch" ]; then rm -rf "$scratch"; fi
}
trap cleanup EXIT INT TERM

if [ -n "$revision" ]; then
    scratch=$(mktemp -d)
    source_dir=$scratch/src
    build=$scratch/build
    mkdir -p "$source_dir"
    git -C "$top" archive "$revision" | tar -x -C "$source_dir"
    rm -rf "$source_dir/tools/lookshots"
    cp -r "$top/tools/lookshots" "$source_dir/tools/lookshots"
    grep -q 'tools/lookshots' "$source_dir/CMakeLists.txt" \
        || printf '\nadd_subdirectory(tools/lookshots)\n' >> "$source_dir/CMakeLists.txt"
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
    launcher=
    command -v ccache >/dev/null 2>&1 && launcher=ccache
    cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWENDLEWICK_BENCH=OFF \
        -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" >/dev/null
fi
cmake --build "$build" --target wendlewick-lookshots wendlewick_tilegroups >/dev/null

export QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='qt.qpa.*=false'
QT_SCALE_FACTOR=1 "$build/tools/wendlewick-lookshots" "$out" "$label"
QT_SCALE_FACTOR=2 "$build/tools/wendlewick-lookshots" "$out" "$label" --tiles "$build/bin/Wendlewicktiles"
