#!/usr/bin/env bash
# Configures and builds into build/: everything, or only the targets named as arguments
# (scripts/build.sh vcp). VCP_SANITIZE=1 adds AddressSanitizer and
# UndefinedBehaviorSanitizer; VCP_WERROR=1 makes warnings errors; VCP_BENCH=0 leaves the
# benchmarks out; VCP_PCH=1 precompiles the Qt and GoogleTest headers.
set -euo pipefail
cd "$(dirname "$0")/.."

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja "${launcher[@]}" \
    -DCMAKE_BUILD_TYPE="${VCP_BUILD_TYPE:-RelWithDebInfo}" \
    -DVCP_SANITIZE="${VCP_SANITIZE:-0}" \
    -DVCP_WERROR="${VCP_WERROR:-0}" \
    -DVCP_BENCH="${VCP_BENCH:-1}" \
    -DVCP_PCH="${VCP_PCH:-0}" >/dev/null
targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake --build build "${targets[@]}"
