# Sourced by the measuring scripts: a work folder of the run, and the processes they start
# (pids) stopped, with the folder removed, however the script ends.
work="$(mktemp -d /tmp/vcp-bench-XXXXXX)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
