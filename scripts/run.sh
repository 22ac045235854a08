#!/usr/bin/env bash
# Builds the program and starts the desktop program in its output folder,
# beside Start.htm and Pics/. Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh

cd "${QUAVERN_BUILD_DIR:-build}/out"
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
