#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite twice: the normal build in build/,
# then a build with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ (the windows'
# tests included, on the offscreen platform). The suite replays the fuzz corpora in both. Prints
# the time of each phase at the end; fails when either run fails.
set -euo pipefail
cd "$(dirname "$0")/.."

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

scripts/install-deps.sh
end_phase "install dependencies"

scripts/build.sh
end_phase "build (build/)"

status=0
ctest --test-dir build --output-on-failure -j2 || status=1
end_phase "tests (build/)"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DTRV_SANITIZE=ON \
    -DTRV_BUILD_BENCH=OFF
cmake --build build-asan
end_phase "sanitizer build (build-asan/)"

ctest --test-dir build-asan --output-on-failure -j2 || status=1
end_phase "sanitizer tests (build-asan/)"

echo
echo "Phases:"
printf '  %s\n' "${phases[@]}"
exit "$status"
