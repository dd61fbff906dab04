#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each named target (all
# when none is named) for a time or a number of runs, one after the other, from its seed
# corpus in fuzz/corpus/ grown in build-fuzz/corpus/. Prints runs and runs per second of
# each; exits non-zero when a target finds a fault (the input is left in build-fuzz/).
#
#   scripts/fuzz.sh                          every target, FUZZ_SECONDS (default 30) each
#   scripts/fuzz.sh -s 3600 menu_records     one target for an hour
#   scripts/fuzz.sh -r 10000000 gpi_list     ten million runs
#   scripts/fuzz.sh -l                       the targets' names
# FUZZ_FLAGS adds libFuzzer options, for instance FUZZ_FLAGS=-entropic=0: its entropic
# scheduler costs up to a third of each run on a target with a large grown corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-30}"
runs=""
list_only=0
while getopts "s:r:lh" option; do
    case "$option" in
        s) seconds="$OPTARG" ;;
        r) runs="$OPTARG" ;;
        l) list_only=1 ;;
        *)
            sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
            exit 2
            ;;
    esac
done
shift $((OPTIND - 1))

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
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja "${launcher[@]}" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVCP_FUZZ=ON -DVCP_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzzers

all_targets=()
for binary in build-fuzz/bin/*_fuzzer; do
    name="$(basename "$binary")"
    all_targets+=("${name%_fuzzer}")
done
if [[ "$list_only" -eq 1 ]]; then
    printf '%s\n' "${all_targets[@]}"
    exit 0
fi
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    targets=("${all_targets[@]}")
fi

limit=(-max_total_time="$seconds")
if [[ -n "$runs" ]]; then
    limit=(-runs="$runs")
fi
read -r -a extra_flags <<<"${FUZZ_FLAGS:-}"


summary=()
for target in "${targets[@]}"; do
    binary="build-fuzz/bin/${target}_fuzzer"
    if [[ ! -x "$binary" ]]; then
        echo "no fuzz target ${target}; scripts/fuzz.sh -l lists them" >&2
        exit 2
    fi
    corpus="build-fuzz/corpus/${target}"
    mkdir -p "$corpus"
    if [[ -d fuzz/corpus/"$target" ]]; then
        cp -n fuzz/corpus/"$target"/* "$corpus"/
    fi
    echo "fuzzing ${target}: ${limit[*]}"
    log="build-fuzz/${target}-fuzz.log"
    status=0
    build-fuzz/bin/"${target}"_fuzzer "${limit[@]}" "${extra_flags[@]}" -max_len=8192 -print_final_stats=1 \
        -artifact_prefix=build-fuzz/"${target}"- "$corpus" >"$log" 2>&1 || status=$?
    if [[ "$status" -ne 0 ]]; then
        tail -n 40 "$log" >&2
        echo "fuzz target ${target} failed; the input is in build-fuzz/${target}-*" >&2
        exit "$status"
    fi
    done_runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
    summary+=("$(printf '%-22s %12s runs %9s runs/s' "$target" "$done_runs" "$rate")")
done
printf '%s\n' "${summary[@]}"
