#!/usr/bin/env bash
# Installs what is missing, builds the panel, and runs it on the built-in simulated line
# (unit 1 a model 11, unit 2 a model 4). Extra arguments go to vcp.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --demo
scripts/build.sh vcp
exec build/bin/vcp --port inproc:sim "$@"
