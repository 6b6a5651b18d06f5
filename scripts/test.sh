#!/usr/bin/env bash
# The gate CI runs: installs what is needed, builds, and runs the whole test suite twice: the
# normal build in build/, then a build with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ (the windows' tests included, on the offscreen platform). The suite replays the
# fuzz corpora in both. Last, the step machines and the windows that talk to the device from
# their own threads run under ThreadSanitizer in build-tsan/. Prints the time of each phase at
# the end; fails when any run fails.
#
#   scripts/test.sh           the full gate
#   scripts/test.sh --quick   the everyday loop: an incremental build in build/ and the fast tests
#                             (no real-time roads, packaging or corpus replays, no sanitizers)
set -euo pipefail
cd "$(dirname "$0")/.."

quick=false
case "${1:-}" in
--quick) quick=true ;;
"") ;;
*)
    echo "usage: $0 [--quick]" >&2
    exit 2
    ;;
esac

export QT_QPA_PLATFORM=offscreen
# Any undefined behaviour ends the test that hit it (the build also makes it unrecoverable).
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export ASAN_OPTIONS=${ASAN_OPTIONS:-strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1}

phases=()
phase_start=$SECONDS
end_phase() {
    phases+=("$(printf '%-34s %4d s' "$1" $((SECONDS - phase_start)))")
    phase_start=$SECONDS
}
report() {
    echo
    echo "Phases:"
    printf '  %s\n' "${phases[@]}"
}

if $quick; then
    # Configure only once: later runs rebuild just what changed.
    [ -f build/build.ninja ] || cmake --preset dev
    cmake --build --preset dev
    end_phase "build (build/)"
    status=0
    ctest --preset quick || status=1
    end_phase "fast tests (build/)"
    report
    exit "$status"
fi

scripts/install-deps.sh
end_phase "install dependencies"

scripts/build.sh
end_phase "build (build/)"

status=0
ctest --preset dev || status=1
end_phase "tests (build/)"

cmake --preset asan
cmake --build --preset asan
end_phase "sanitizer build (build-asan/)"

ctest --preset asan || status=1
end_phase "sanitizer tests (build-asan/)"

cmake --preset tsan
cmake --build --preset tsan
end_phase "thread sanitizer build (build-tsan/)"

ctest --preset tsan || status=1
end_phase "thread sanitizer tests (build-tsan/)"

report
exit "$status"
