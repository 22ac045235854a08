#!/usr/bin/env bash
# Installs what is missing, builds build/ with warnings as errors and runs
# every test with CTest.
#
#   bash scripts/test.sh                  the tests
#   bash scripts/test.sh --sanitize       the tests, then the sanitizer run
#   bash scripts/test.sh --sanitize-only  only the sanitizer run
#
# The sanitizer run (also with QUAVERN_TEST_SANITIZE=1) builds build-asan,
# desktop program included, with address and undefined-behaviour sanitizers
# and runs every test there, the GUI tests included.
# QUAVERN_JOBS sets the number of parallel compile jobs.
set -euo pipefail
cd "$(dirname "$0")/.."

normal=1
sanitize=${QUAVERN_TEST_SANITIZE:-0}
for arg in "$@"; do
    case "$arg" in
    --sanitize) sanitize=1 ;;
    --sanitize-only)
        sanitize=1
        normal=0
        ;;
    -h | --help)
        sed -n '2,12p' "$0"
        exit 0
        ;;
    *)
        echo "test.sh: unknown argument '$arg'" >&2
        exit 2
        ;;
    esac
done

bash scripts/install-deps.sh
jobs=${QUAVERN_JOBS:-$(nproc)}

# Runs CTest in a build folder and keeps its output in ctest.log there, so
# the summary can be shown again at the end of a long run.
run_ctest() {
    local dir=$1
    shift
    (cd "$dir" && ctest --output-on-failure "$@" 2>&1 | tee ctest.log)
}

if [ "$normal" = 1 ]; then
    cmake -S . -B build -G Ninja -DQUAVERN_WERROR=ON -DQUAVERN_BUILD_GUI=ON
    cmake --build build -j "$jobs"
    run_ctest build
fi

if [ "$sanitize" = 1 ]; then
    # Qt and QtWebEngine are not built with the sanitizers; the tests that
    # start the browser engine add the options and leak suppressions that
    # tests/CMakeLists.txt describes. A status of its own (23) keeps a
    # sanitizer's report apart from a program's expected status 1.
    cmake -S . -B build-asan -G Ninja -DQUAVERN_WERROR=ON -DQUAVERN_SANITIZE=ON -DQUAVERN_BUILD_GUI=ON
    cmake --build build-asan -j "$jobs"
    ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:exitcode=23} \
        UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1:exitcode=23} \
        run_ctest build-asan
fi
