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

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release
ctest --test-dir build/release -j "$((jobs + 1))" --output-on-failure

if [ "${1:-}" != --quick ]; then
    # The serial component's threads under ThreadSanitizer, and under
    # AddressSanitizer with UBSan.
    for san in thread address; do
        cmake -S . -B "build/$san" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELT_SANITIZE=$san >/dev/null
        cmake --build "build/$san" --target serial_tests
        TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/serial/tsan.supp" \
        ASAN_OPTIONS="detect_leaks=1" \
            ctest --test-dir "build/$san" -L serial -j "$jobs" --output-on-failure
    done
    # Each fuzz target for a few seconds (tools/fuzz.sh for longer runs).
    tools/fuzz.sh 5
fi
