#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each one for FUZZ_SECONDS
# (default 30) from a scratch copy of its seed corpus in fuzz/corpus/. Exits non-zero when a
# target finds a crash.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-30}"

# libFuzzer and the sanitizer runtimes come with libclang-rt-dev, which clang only recommends.
fuzzer_runtime="$(clang -print-resource-dir)/lib/linux/libclang_rt.fuzzer-$(uname -m).a"
if [[ ! -f "$fuzzer_runtime" ]]; then
    echo "Installing libclang-rt-dev (libFuzzer)"
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo_cmd=(sudo)
    fi
    { "${sudo_cmd[@]}" apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
            --no-install-recommends libclang-rt-dev; } || true
fi
if [[ ! -f "$fuzzer_runtime" ]]; then
    echo "libFuzzer is not available on this machine: fuzzing skipped" >&2
    exit 0
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVCP_FUZZ=ON -DVCP_BENCH=OFF >/dev/null
targets=()
for source in fuzz/*_fuzzer.cpp; do
    name="$(basename "$source" .cpp)"
    targets+=("${name%_fuzzer}")
done
cmake --build build-fuzz --target "${targets[@]/%/_fuzzer}"

for target in "${targets[@]}"; do
    work="$(mktemp -d)"
    if [[ -d fuzz/corpus/"$target" ]]; then
        cp fuzz/corpus/"$target"/* "$work"/
    fi
    echo "fuzzing ${target} for ${seconds} s"
    log="build-fuzz/${target}-fuzz.log"
    status=0
    build-fuzz/bin/"${target}"_fuzzer -max_total_time="$seconds" -max_len=8192 \
        -artifact_prefix=build-fuzz/"${target}"- "$work" >"$log" 2>&1 || status=$?
    grep -E "^(Done|==|SUMMARY)" "$log" || true
    rm -rf "$work"
    if [[ "$status" -ne 0 ]]; then
        tail -n 40 "$log" >&2
        echo "fuzz target ${target} failed; the input is in build-fuzz/${target}-*" >&2
        exit "$status"
    fi
done
