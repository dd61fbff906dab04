#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program on the built-in simulated line.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --demo
scripts/build.sh

if [[ -x build/bin/vcp ]]; then
    exec build/bin/vcp --port inproc:sim "$@"
fi

# The panel window is not built yet: show the line through the simulator and the probe.
link="$(mktemp -u /tmp/vcp-demo-XXXXXX)"
build/bin/vcp-sim --pty "$link" --units 1:11,2:4 > "$link.log" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true; rm -f "$link.log"' EXIT
for _ in $(seq 100); do
    grep -q "^ready" "$link.log" 2>/dev/null && break
    sleep 0.1
done

probe() { echo "\$ vcp-probe --port $link $*"; build/bin/vcp-probe --port "$link" "$@"; }
probe scan
probe --unit 1 status
probe --unit 1 menus | head -c 600; echo " ..."
probe --unit 1 adjust 1 25
probe --unit 1 values | head -c 300; echo " ..."
