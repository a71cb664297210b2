#!/usr/bin/env bash
# Installs what is missing, builds, starts the device simulator and the program.
#   ./run.sh              the window, with one simulated setting card
#   ./run.sh --station N  the production station (zelt-cli station) on N
#                         simulated cards (3 by default)
set -euo pipefail
cd "$(dirname "$0")"

cards=0
case "${1:-}" in
"") ;;
--station) cards=${2:-3} ;;
*)
    sed -n '3,6s/^# \{0,1\}//p' "$0" >&2
    exit 2
    ;;
esac

. tools/deps.sh
install_deps

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target zelt-esc zelt-sim zelt-cli

# The program runs from a demo folder of its own: a copy of the executable,
# sample firmware images and its own settings file. Sample images never sit
# beside the real program, so none can reach a real ESC by accident.
demo=build/demo
mkdir -p "$demo"
cp -u build/release/app/zelt-esc "$demo/zelt-esc"

if [ "$cards" -eq 0 ]; then
    build/release/sim/zelt-sim --images "$demo" > "$demo/sim.out" &
    sim_pid=$!
    trap 'kill $sim_pid 2>/dev/null; wait $sim_pid 2>/dev/null || true' EXIT
    for _ in $(seq 50); do [ -s "$demo/sim.out" ] && break; sleep 0.1; done
    echo "Simulated setting card on $(head -n 1 "$demo/sim.out")"
    "$demo/zelt-esc"
    exit
fi

# The station: the simulator's console takes its commands from a pipe, so
# that the station keeps the terminal for its table.
rm -f "$demo/sim.in" "$demo/sim.out"
mkfifo "$demo/sim.in"
build/release/sim/zelt-sim --cards "$cards" --images "$demo" < "$demo/sim.in" > "$demo/sim.out" &
sim_pid=$!
exec 3> "$demo/sim.in"
trap 'exec 3>&-; kill $sim_pid 2>/dev/null; wait $sim_pid 2>/dev/null || true; rm -f "$demo/sim.in"' EXIT
for _ in $(seq 50); do [ "$(wc -l < "$demo/sim.out")" -ge "$cards" ] && break; sleep 0.1; done
ports=$(head -n "$cards" "$demo/sim.out" | paste -sd,)
printf '[INC]\nlow_volt_threshold=1\nlow_volt_mode=0\nstartup_mode=2\nbreak_mode=1\ntiming_mode=1\ncurrent_threshold=1\n' \
    > "$demo/station.zelt"
echo "Simulated setting cards on $ports"
echo "The next ESC on card 2: echo 'card 2 unplug' > $demo/sim.in, then echo 'card 2 plug 03' > $demo/sim.in"
status=0
build/release/cli/zelt-cli station --ports "$ports" --image "$demo/upt03.blo" --setup "$demo/station.zelt" \
    --records "$demo/station.sqlite" --station demo || status=$?
exit "$status"
