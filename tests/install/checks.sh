# Counting checks for the install scripts: `check` before each, `fail WHY` when it fails,
# `finish WHAT` at the end prints the count and sets the exit status.
failures=0
checks=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}
check() {
    checks=$((checks + 1))
}
finish() {
    echo "$1: $((checks - failures)) of $checks checks passed"
    ((failures == 0))
}
