#!/usr/bin/env bash
# Builds the desktop program and starts it in its output folder, beside
# Start.htm and Pics/. Arguments are passed on to the program. Only the
# program, its start page and its chord pictures are built: the tests wait
# for scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build_dir=${QUAVERN_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DQUAVERN_WERROR=ON -DQUAVERN_BUILD_GUI=ON
cmake --build "$build_dir" -j "${QUAVERN_JOBS:-$(nproc)}" --target quavern quavern_chord_pictures

cd "$build_dir/out"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display to show the window on. Run this from a desktop session," >&2
    echo "or under a virtual one: xvfb-run -a bash scripts/run.sh" >&2
    exit 1
fi
# The browser engine refuses to run as root with its sandbox on; a normal
# user never needs this.
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec ./quavern "$@"
