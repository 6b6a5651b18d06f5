# shellcheck shell=bash
# Sourced by the packaging tests: collect every failed check, report them all, fail at the end.
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect <description> <command...>: the command must succeed.
expect() {
    local what=$1
    shift
    "$@" || fail "$what"
}

finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}
