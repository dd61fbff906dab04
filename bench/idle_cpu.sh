#!/usr/bin/env bash
# Idle CPU of vcp polling four simulated units served by vcp-sim on a pseudo-terminal:
# user and system time of each process over a minute (from /proc/<pid>/stat), as a share
# of one core. Usage: bench/idle_cpu.sh [SECONDS] (default 60). Needs build/bin/vcp and
# build/bin/vcp-sim.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
source bench/processes.sh
export XDG_CONFIG_HOME="$work/config"   # the run's stored port stays out of the user's settings
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

build/bin/vcp-sim --pty "$work/line" --units 1:11,2:4,3:80,4:5 > "$work/sim.log" &
sim=$!
pids+=("$sim")
for _ in $(seq 100); do
    grep -q "^ready" "$work/sim.log" 2>/dev/null && break
    sleep 0.1
done
build/bin/vcp --port "$work/line" > "$work/vcp.log" 2>&1 &
vcp=$!
pids+=("$vcp")
sleep 5   # start-up and the unit search are not idle time

# Clock ticks of user plus system time (fields 14 and 15 of /proc/<pid>/stat).
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
vcp_before=$(ticks "$vcp")
sim_before=$(ticks "$sim")
sleep "$seconds"
vcp_after=$(ticks "$vcp")
sim_after=$(ticks "$sim")
hz=$(getconf CLK_TCK)
share() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }'; }
echo "over ${seconds} s with four units on the line and none selected:"
echo "  vcp     $(share $((vcp_after - vcp_before)))% of one core"
echo "  vcp-sim $(share $((sim_after - sim_before)))% of one core"
