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

# A PostgreSQL server for the records tests, for the whole run. Their
# PostgreSQL rows fail, rather than skip, when it could not start.
pg_dir=$(mktemp -d)
trap 'tools/postgres_for_tests.sh stop "$pg_dir" || true; rm -rf "$pg_dir"' EXIT
export ZELT_TEST_POSTGRES_REQUIRED=1
if ZELT_TEST_POSTGRES=$(tools/postgres_for_tests.sh start "$pg_dir"); then
    export ZELT_TEST_POSTGRES
fi
jobs=$(nproc)

# Each stage says how long it took, so that a slow one shows in the CI log.
stage_start=$SECONDS
stage_done() {
    echo "test.sh: $1 took $((SECONDS - stage_start)) s (total $SECONDS s)"
    stage_start=$SECONDS
}

# The suites spend most of their time waiting on simulated lines in real
# time, so a full run lets each suite wait while the next build compiles:
# tests_in_background <build folder> <ctest arguments...>, then
# tests_finished <build folder> prints the suite's report and fails with it.
tests_in_background() {
    local dir=$1
    shift
    ctest --test-dir "$dir" --output-on-failure "$@" >"$dir/tests.log" 2>&1 &
    echo $! >"$dir/tests.pid"
}
tests_finished() {
    local dir=$1 status=0
    wait "$(cat "$dir/tests.pid")" || status=$?
    if [ $status -ne 0 ]; then
        cat "$dir/tests.log"
        echo "test.sh: the tests in $dir failed"
        exit $status
    fi
    sed -n '/tests passed/,$p' "$dir/tests.log"
}

# Every build goes through ccache (among the packages above), with paths taken
# relative to this folder, so that a fresh clone elsewhere on the same machine
# reuses what an earlier run compiled; tools/sanitizer_build.sh passes the
# same launcher to its folders.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
# A new release folder is built by clang, which compiles this code faster than
# g++; one that exists keeps the compiler it was made with.
compiler=()
[ -f build/release/CMakeCache.txt ] || compiler=(-DCMAKE_CXX_COMPILER=clang++)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    "${compiler[@]}" >/dev/null
cmake --build build/release
stage_done "release build"

if [ "${1:-}" = --quick ]; then
    ctest --test-dir build/release -j "$((jobs + 1))" --output-on-failure
    stage_done "release tests"
    exit 0
fi

# Every suite under AddressSanitizer with UBSan, in the build that also holds
# the fuzz targets, built while the release suites run. The package and the
# benchmarks are the release build's, so their checks run there only. Suites
# named *Slow (a simulated 16 ms adapter, whole firmware updates) run once,
# in the release build, at the end, when no build loads the machine: their
# timing is part of what they check.
tests_in_background build/release -j "$((jobs + 1))" -E 'Slow\.'
tools/sanitizer_build.sh address
cmake --build build/address
stage_done "address build"
tests_finished build/release
stage_done "release tests (after the address build)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
tests_in_background build/address -j "$((jobs + 1))" -E 'Slow\.'

# The serial component's and the link's threads under ThreadSanitizer, built
# while the address suites run.
tools/sanitizer_build.sh thread
cmake --build build/thread --target serial_tests link_tests
stage_done "thread build"
tests_finished build/address
stage_done "address tests (after the thread build)"
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/serial/tsan.supp" \
    ctest --test-dir build/thread -L 'serial|link' -j "$jobs" --output-on-failure
stage_done "thread tests"

ctest --test-dir build/release -R 'Slow\.' -j "$jobs" --output-on-failure
stage_done "slow release suites"

# Each fuzz target for a few seconds (tools/fuzz.sh for longer runs).
tools/fuzz.sh 5
stage_done "fuzzing"
