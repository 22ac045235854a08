#!/usr/bin/env bash
# Builds the program and runs it on the bundled example song. Until the
# desktop program is there, that is quavern-cli: the song's chords and
# score, the song moved to its easiest key, and the display page written to
# build/out/QuavernFile.htm.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh

song=$PWD/data/example/mill-road.txt
out=${QUAVERN_BUILD_DIR:-build}/out
cd "$out"

echo "== quavern-cli info data/example/mill-road.txt"
./quavern-cli info "$song"
echo
echo "== quavern-cli transpose --easiest data/example/mill-road.txt"
./quavern-cli transpose --easiest "$song"
echo
./quavern-cli render -o QuavernFile.htm "$song"
echo "== The display page is in $PWD/QuavernFile.htm"
