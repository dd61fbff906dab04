#!/usr/bin/env bash
# Idle CPU and private memory of vcp with its control surface switched off, on the built-in
# simulated line, once with a JACK server running (the dummy backend) and once without: a
# surface that is off joins no MIDI system, so both runs should show the same. CPU is user
# plus system time over the run (from /proc/<pid>/stat) as a share of one core; private
# memory is Private_Clean plus Private_Dirty of /proc/<pid>/smaps_rollup; JACK's shared
# memory is what of /dev/shm/jack* the panel has mapped.
# Usage: bench/surface_off_idle.sh [SECONDS] (default 30). Needs build/bin/vcp and jackd.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
source bench/processes.sh
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
hz=$(getconf CLK_TCK)

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
private_kb() { awk '/^Private_(Clean|Dirty):/ { sum += $2 } END { print sum }' "/proc/$1/smaps_rollup"; }
jack_kb() {
    local sum=0 range
    while read -r range _; do
        sum=$((sum + (0x${range#*-} - 0x${range%-*}) / 1024))
    done < <(grep -E "/dev/shm/jack|jack-[0-9]" "/proc/$1/maps" || true)
    echo "$sum"
}

# One run of the panel: prints its CPU share, private memory and JACK mappings.
measure() {
    local name="$1"
    export XDG_CONFIG_HOME="$work/config-$name"   # no surface switched on, no stored port
    build/bin/vcp --port inproc:sim > "$work/vcp-$name.log" 2>&1 &
    local vcp=$!
    pids+=("$vcp")
    sleep 5   # start-up and the unit search are not idle time
    local before
    before=$(ticks "$vcp")
    sleep "$seconds"
    local after
    after=$(ticks "$vcp")
    printf "  %-14s CPU %s%% of one core, private %s KiB, JACK mapped %s KiB\n" "$name" \
        "$(awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }')" \
        "$(private_kb "$vcp")" "$(jack_kb "$vcp")"
    kill "$vcp"
    wait "$vcp" 2>/dev/null || true
}

if jack_lsp > /dev/null 2>&1; then
    echo "A JACK server runs already; stop it first so that the run without one is one." >&2
    exit 1
fi
echo "vcp idle over ${seconds} s, the surface off, on the built-in simulated line:"
measure "without JACK"
jackd --no-realtime -d dummy > "$work/jackd.log" 2>&1 &
jackd=$!
pids+=("$jackd")
for _ in $(seq 100); do
    jack_lsp > /dev/null 2>&1 && break
    sleep 0.1
done
measure "with JACK"
