#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each one after the other for a
# bounded time, starting from the committed seeds in fuzz/corpus/<target>/.
#
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
#
# New inputs that reach new code go to build-fuzz/corpus/<target>/ (kept between runs), inputs
# that crash, hang or break an invariant to build-fuzz/findings/<target>/ (the summary counts
# those of this run), the output of each run
# to build-fuzz/logs/<target>.log. A summary per target ends the run; the exit status is 1 when
# anything was found. Copy a finding into fuzz/corpus/<target>/ once it is fixed, so the test
# suite replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "usage: $0 [seconds per target] [target ...]" >&2
    exit 2
fi

# The target names between "set(TRV_FUZZ_TARGETS" and ")", one per line.
all_targets=$(sed -n '/set(TRV_FUZZ_TARGETS/,/)/{/set(TRV_FUZZ_TARGETS/d;s/[ )]//g;/^$/d;p}' fuzz/FuzzTargets.cmake)
if [ $# -gt 0 ]; then
    targets=("$@")
else
    mapfile -t targets <<<"$all_targets"
fi

# Longest input per target: enough for every file the format allows to be interesting, short
# enough to keep the runs fast.
max_len() {
    case "$1" in
    catalogue_file) echo 32768 ;;
    protocol_file) echo 16384 ;;
    program_names | language_texts) echo 8192 ;;
    protocol_texts | image_build | download_sequence | status_sequence) echo 4096 ;;
    device_link) echo 2048 ;;
    settings_file) echo 256 ;;
    device_replies) echo 66 ;;
    *) echo 4096 ;;
    esac
}

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTRV_BUILD_FUZZ=ON -DTRV_BUILD_GUI=OFF -DTRV_BUILD_TESTS=OFF -DTRV_BUILD_BENCH=OFF >/dev/null
build_targets=()
for t in "${targets[@]}"; do
    build_targets+=("fuzz_$t")
done
cmake --build "$build" -j2 --target "${build_targets[@]}"

mkdir -p "$build/logs"
summary=()
found=0
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    findings="$build/findings/$t"
    log="$build/logs/$t.log"
    mkdir -p "$corpus" "$findings"
    findings_before=$(find "$findings" -type f | wc -l)
    args=(-max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=10 -rss_limit_mb=2048
        -print_final_stats=1 -artifact_prefix="$findings/")
    if [ -f "fuzz/dict/$t.dict" ]; then
        args+=(-dict="fuzz/dict/$t.dict")
    fi
    echo "== $t: ${seconds}s, max_len $(max_len "$t")"
    status=0
    ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
        "$build/fuzz/fuzz_$t" "${args[@]}" "$corpus" "fuzz/corpus/$t" >"$log" 2>&1 || status=$?

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    corpus_size=$(find "$corpus" -type f | wc -l)
    count=$(($(find "$findings" -type f | wc -l) - findings_before))
    if [ "$status" -ne 0 ] || [ "$count" -gt 0 ]; then
        found=1
        echo "   finding(s) in $findings (exit $status), see $log"
    fi
    summary+=("$(printf '%-18s %10s runs %8s/s  cov %6s  ft %7s  corpus %5s  findings %s' \
        "$t" "${runs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "$corpus_size" "$count")")
done

echo
echo "Fuzzing summary (${seconds}s per target):"
printf '%s\n' "${summary[@]}"
exit "$found"
