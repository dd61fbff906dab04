#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. Exits non-zero when any
# test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh
# The control surface's end-to-end test runs on JACK's dummy backend.
source scripts/dummy-jack.sh
start_dummy_jack
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300)
# The hub module: its check, its lint and its tests against the panel just built.
(cd companion && npm ci --no-audit --no-fund && npx companion-module-check && npx eslint . && npm test)
