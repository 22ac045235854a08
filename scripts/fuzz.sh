#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while.
#
#   bash scripts/fuzz.sh [SECONDS]     each target for SECONDS (default 60)
#
# Installs clang-14 and its runtime libraries when they are missing (only
# fuzzing needs them). Builds build-fuzz with libFuzzer, address and
# undefined-behaviour sanitizers, then runs every target on its seed songs
# in fuzz/seeds/<target> (read only) plus a temporary working corpus. Fails
# when a target finds a crash or a broken check; the input that did it is
# kept in build-fuzz/artifacts. QUAVERN_FUZZ_TARGETS limits the targets
# (names without "fuzz_", separated by blanks); QUAVERN_JOBS sets the
# number of parallel compile jobs.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
case "$seconds" in
-h | --help)
    sed -n '2,13p' "$0"
    exit 0
    ;;
'' | *[!0-9]*)
    echo "fuzz.sh: SECONDS must be a whole number, not '$seconds'" >&2
    exit 2
    ;;
esac

targets=${QUAVERN_FUZZ_TARGETS:-detect_transpose render page_roundtrip}
jobs=${QUAVERN_JOBS:-2}

# The normal set-up first (cmake, ninja, Qt for the configure step), then
# the fuzzing compiler, which the normal build does not need.
bash scripts/install-deps.sh
fuzz_packages=(clang-14 libclang-rt-14-dev)
missing=()
for p in "${fuzz_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing for fuzzing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build=build-fuzz
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUAVERN_WERROR=ON \
    -DQUAVERN_BUILD_GUI=OFF -DQUAVERN_BUILD_TESTS=OFF -DQUAVERN_BUILD_FUZZ=ON
cmake --build "$build" -j "$jobs" --target quavern_fuzzers

artifacts=$PWD/$build/artifacts
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for target in $targets; do
    binary=$build/out/fuzz_$target
    seeds=fuzz/seeds/$target
    if [ ! -x "$binary" ] || [ ! -d "$seeds" ]; then
        echo "fuzz.sh: no target '$target'" >&2
        exit 2
    fi
    mkdir -p "$work/$target"
    echo "== fuzz_$target for ${seconds}s"
    # New inputs go to the first folder only: the seed songs stay as they are.
    if "$binary" -max_total_time="$seconds" -max_len=8192 -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
        -dict=fuzz/chords.dict -artifact_prefix="$artifacts/$target-" "$work/$target" "$seeds" \
        >"$work/$target.log" 2>&1; then
        grep -E "^Done|stat::number_of_executed_units|stat::new_units_added" "$work/$target.log" || true
    else
        tail -n 60 "$work/$target.log"
        echo "fuzz.sh: fuzz_$target found a fault; the input is in $artifacts" >&2
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz.sh: failed: ${failed[*]}" >&2
    exit 1
fi
echo "fuzz.sh: no finding in ${targets// /, } (${seconds}s each)"
