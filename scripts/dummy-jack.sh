#!/usr/bin/env bash
# Sourced by scripts/test.sh and .ci/run: start_dummy_jack starts a JACK server on the dummy
# backend for the control surface's end-to-end test when none answers yet, waits at most 10 s
# for it, and stops it when the calling script exits. A server that does not start is
# reported here and makes that test fail.

start_dummy_jack() {
    if jack_lsp >/dev/null 2>&1; then
        return 0
    fi
    local log="${TMPDIR:-/tmp}/vcp-jackd.log"
    jackd --no-realtime -d dummy >"$log" 2>&1 &
    dummy_jack_pid=$!
    trap stop_dummy_jack EXIT
    for _ in $(seq 1 100); do
        if jack_lsp >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.1
    done
    echo "JACK's dummy server did not answer within 10 s (see $log): the surface's JACK test will fail." >&2
}

stop_dummy_jack() {
    if [[ -n "${dummy_jack_pid:-}" ]]; then
        kill "$dummy_jack_pid" 2>/dev/null || true
        wait "$dummy_jack_pid" 2>/dev/null || true
        dummy_jack_pid=
    fi
}
