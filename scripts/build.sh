#!/usr/bin/env bash
# Installs what is missing, configures build/ with Ninja and builds
# everything. Extra arguments go to the configure step, for example
#   bash scripts/build.sh -DQUAVERN_BUILD_GUI=OFF
# QUAVERN_BUILD_DIR names another build folder, QUAVERN_JOBS the number of
# parallel compile jobs (default: the number of cores).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build_dir=${QUAVERN_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DQUAVERN_WERROR=ON -DQUAVERN_BUILD_GUI=ON "$@"
cmake --build "$build_dir" -j "${QUAVERN_JOBS:-$(nproc)}"
