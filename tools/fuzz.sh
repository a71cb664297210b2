#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build/fuzz (apart from
# the release build) and runs each for a bounded time, starting from the seed
# corpus in fuzz/corpus/<target>. New inputs it finds go to
# build/fuzz/corpus/<target>; a crash leaves its input in build/fuzz/.
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

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DZELT_FUZZ=ON >/dev/null
cmake --build build/fuzz --target fuzz_targets

export QT_QPA_PLATFORM=offscreen
for t in "${targets[@]}"; do
    work="build/fuzz/corpus/$t"
    log="build/fuzz/$t.log"
    mkdir -p "$work"
    if ! "build/fuzz/fuzz/$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
            -artifact_prefix="build/fuzz/$t-" "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $t FAILED (log: $log)"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz: $t ok, $runs inputs in ${seconds} s ($rate per second)"
done
