#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks, runs each one and prints one
# table of their figures beside their goals.
#   ./bench.sh                  full runs, about two minutes
#   ./bench.sh --quick          short runs that only show each benchmark works
#   ./bench.sh --build-dir DIR  use the benchmarks already built in DIR;
#                               installs and builds nothing
# Each benchmark's own output is kept in DIR/bench/logs/. Exit status: 0 every
# goal met, 1 a goal missed (never with --quick), 2 a benchmark gave no figures.
set -euo pipefail
cd "$(dirname "$0")"

quick=""
build=""
while [ $# -gt 0 ]; do
    case "$1" in
    --quick) quick=--quick ;;
    --build-dir)
        [ $# -ge 2 ] || { echo "--build-dir needs a folder" >&2; exit 2; }
        build=$2
        shift
        ;;
    *)
        sed -n '2,9s/^# \{0,1\}//p' "$0" >&2
        exit 2
        ;;
    esac
    shift
done

# In the order of the table.
benchmarks=(firmware_update reply_wait serial_latency speed_poll cold_start speed_soak sim_pace station)

if [ -z "$build" ]; then
    . tools/deps.sh
    install_deps
    build=build/release
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target "${benchmarks[@]/#/bench_}"
fi

export QT_QPA_PLATFORM=offscreen
logs="$build/bench/logs"
mkdir -p "$logs"
results=$(mktemp)
trap 'rm -f "$results"' EXIT

for name in "${benchmarks[@]}"; do
    program="$build/bench/bench_$name"
    log="$logs/$name.log"
    echo "running $name" >&2
    status=0
    if [ -x "$program" ]; then
        timeout --kill-after=10 600 "$program" $quick >"$log" 2>&1 || status=$?
    else
        echo "$program was not built" >"$log"
        status=127
    fi
    line=$(grep -m 1 '^BENCH' "$log" || true)
    printf '%s\t%s\t%s%s\n' "$name" "$status" "$log" "${line:+$'\t'$line}" >>"$results"
done

echo
status=0
awk -v quick="${quick:+1}" -f bench/table.awk "$results" || status=$?
if [ -n "$quick" ] && [ "$status" -eq 1 ]; then
    status=0
fi
exit "$status"
