#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero on any
# failure. Headless: Qt widgets run on the offscreen platform.
#   ./test.sh                 everything, including the sanitizer builds
#   ./test.sh --quick         skip the sanitizer builds
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
install_deps test

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release
ctest --test-dir build/release -j "$((jobs + 1))" --output-on-failure

if [ "${1:-}" != --quick ]; then
    # Every suite under AddressSanitizer with UBSan. The window tests wait on
    # a simulated line in real time and run slower under the sanitizer, so
    # no more of them at once than there are cores.
    cmake -S . -B build/address -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELT_SANITIZE=address >/dev/null
    cmake --build build/address
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    ctest --test-dir build/address -j "$jobs" --output-on-failure

    # The serial component's and the link's threads under ThreadSanitizer.
    cmake -S . -B build/thread -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELT_SANITIZE=thread >/dev/null
    cmake --build build/thread --target serial_tests link_tests
    TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/serial/tsan.supp" \
        ctest --test-dir build/thread -L 'serial|link' -j "$jobs" --output-on-failure
fi
