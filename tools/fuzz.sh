#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in the address build
# (build/address, shared with the sanitized tests) and runs each for a bounded
# time, starting from the seed corpus in fuzz/corpus/<target>. New inputs it
# finds go to build/address/corpus/<target>; a crash leaves its input in
# build/address/.
#   tools/fuzz.sh                   every target, 5 seconds each
#   tools/fuzz.sh 600 fuzz_ini      one target, ten minutes
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-5}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_ini fuzz_setup_file fuzz_firmware_image fuzz_hex_frame
                                     fuzz_request_assembler fuzz_link_receive)

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is not installed; the fuzz targets were not run"
    exit 0
fi

tools/sanitizer_build.sh address
cmake --build build/address --target fuzz_targets

export QT_QPA_PLATFORM=offscreen
for t in "${targets[@]}"; do
    work="build/address/corpus/$t"
    log="build/address/$t.log"
    mkdir -p "$work"
    if ! "build/address/fuzz/$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
            -artifact_prefix="build/address/$t-" "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $t FAILED (log: $log)"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz: $t ok, $runs inputs in ${seconds} s ($rate per second)"
done
