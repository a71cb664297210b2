#!/usr/bin/env bash
# Installs what is missing, builds, starts the device simulator and the program.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
install_deps

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target zelt-esc zelt-sim

# The program runs from a demo folder of its own: a copy of the executable,
# sample firmware images and its own settings file. Sample images never sit
# beside the real program, so none can reach a real ESC by accident.
demo=build/demo
mkdir -p "$demo"
cp -u build/release/app/zelt-esc "$demo/zelt-esc"

build/release/sim/zelt-sim --images "$demo" > "$demo/sim.out" &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null; wait $sim_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$demo/sim.out" ] && break; sleep 0.1; done
echo "Simulated setting card on $(head -n 1 "$demo/sim.out")"

"$demo/zelt-esc"
