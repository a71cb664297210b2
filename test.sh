#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero on any
# failure. Headless: Qt widgets run on the offscreen platform.
#   ./test.sh                 everything, including the sanitizer builds
#   ./test.sh --quick         skip the sanitizer and fuzz builds
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
install_deps test

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# Each stage says how long it took, so that a slow one shows in the CI log.
stage_start=$SECONDS
stage_done() {
    echo "test.sh: $1 took $((SECONDS - stage_start)) s (total $SECONDS s)"
    stage_start=$SECONDS
}

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release
stage_done "release build"
ctest --test-dir build/release -j "$((jobs + 1))" --output-on-failure
stage_done "release tests"

if [ "${1:-}" != --quick ]; then
    # Every suite under AddressSanitizer with UBSan, in the build that also
    # holds the fuzz targets (clang). The window tests wait on a simulated
    # line in real time and run slower under the sanitizer, so no more of
    # them at once than there are cores. The package is the release build's.
    tools/sanitizer_build.sh address
    cmake --build build/address
    stage_done "address build"
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    ctest --test-dir build/address -LE packaging -j "$jobs" --output-on-failure
    stage_done "address tests"

    # Each fuzz target for a few seconds (tools/fuzz.sh for longer runs).
    tools/fuzz.sh 5
    stage_done "fuzzing"

    # The serial component's and the link's threads under ThreadSanitizer.
    tools/sanitizer_build.sh thread
    cmake --build build/thread --target serial_tests link_tests
    TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/serial/tsan.supp" \
        ctest --test-dir build/thread -L 'serial|link' -j "$jobs" --output-on-failure
    stage_done "thread build and tests"
fi
