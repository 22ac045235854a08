#!/usr/bin/env bash
# Installs what the build, the tests and the headless runs need from Debian's
# packages. Does nothing when everything is already there.
#
#   bash scripts/install-deps.sh              the build, the tests, headless runs
#   bash scripts/install-deps.sh --packaging  also what builds and checks the
#                                             Debian package (scripts/package.sh)
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang-format python3
    qt6-base-dev qt6-webengine-dev qt6-pdf-dev libqt6pdf6 libqt6opengl6-dev libgl-dev
    libgif-dev libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth imagemagick xdotool
)
for arg in "$@"; do
    case "$arg" in
    --packaging) packages+=(dpkg-dev file lintian desktop-file-utils appstream man-db librsvg2-bin) ;;
    *)
        echo "install-deps.sh: unknown argument '$arg'" >&2
        exit 2
        ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
