#!/usr/bin/env bash
# The start-up benchmark: how long from process start until the main window is mapped and first
# painted on a virtual X screen, with the sample data and with a full-size catalogue (550 programs,
# 28000 steps), against a bare toolkit window of the same size and against the toolkit alone
# building a window with the main window's controls and font (this window's floor). Builds what it
# needs in build/ (or the build folder given as BUILD), runs each case RUNS times (default 21), the
# cases taking turns, and prints medians and run-by-run ratios. A quiet machine gives steadier figures.
# SESSION_BUS=1 runs every case on a session bus of its own, as on a desktop; without one, the first
# control of a window waits for the toolkit's failed attempt to launch a bus.
#
# BEFORE=COMMIT (or the path of another build's trv) measures this build side by side with that
# one instead: the commit is built in build-before-COMMIT/ from a worktree of its own, and each data
# set is run with the two programs taking turns. COUNT=1 adds the instructions each program runs up
# to its first paint (under callgrind, so the same on every run), which a busy machine doesn't blur.
#
#   scripts/bench-startup.sh            RUNS=41 scripts/bench-startup.sh     SESSION_BUS=1 scripts/bench-startup.sh
#   BEFORE=719186e RUNS=101 COUNT=1 scripts/bench-startup.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD:-build}
runs=${RUNS:-21}

scripts/install-deps.sh
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target trv bare_window controls_window startup_probe trvgen

# The other program of a side-by-side run, built from its commit where one is named.
before=
if [ -n "${BEFORE:-}" ]; then
    if [ -x "$BEFORE" ]; then
        before=$(realpath "$BEFORE")
    else
        commit=$(git rev-parse --short "$BEFORE^{commit}")
        other=$root/build-before-$commit
        [ -d "$other/src/.git" ] || [ -f "$other/src/.git" ] || git worktree add --detach "$other/src" "$commit" >/dev/null
        [ -f "$other/build/CMakeCache.txt" ] ||
            cmake -S "$other/src" -B "$other/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build "$other/build" --target trv
        before=$other/build/src/app/trv
    fi
fi

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

cp -r data "$work/sample"
bench/startup/full-catalogue.sh "$build/tools/trvgen" "$work/full" >/dev/null

# A display of its own.
. scripts/virtual-display.sh
start_virtual_display "$work" 1280x1024x24
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The application's record, log and settings of the user go to the temporary folder, not the user's.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" XDG_STATE_HOME="$work/state"
export QT_QPA_PLATFORM=xcb

bus=()
if [ "${SESSION_BUS:-0}" = 1 ]; then
    command -v dbus-run-session >/dev/null || { echo "SESSION_BUS=1 needs Debian's dbus-daemon" >&2; exit 1; }
    bus=(dbus-run-session --)
    echo "on a session bus of its own"
fi
app=$(realpath "$build/src/app/trv")
if [ -n "$before" ]; then
    for set in sample full; do
        echo "$set data, the other build first:"
        "${bus[@]}" "$build/bench/startup/startup_probe" --runs "$runs" \
            --case before "$work/$set" "$before" --case this "$work/$set" "$app"
    done
    echo "(m/first, p/first of this build: its run-by-run ratios to the other build)"
else
    "${bus[@]}" "$build/bench/startup/startup_probe" --runs "$runs" \
        --case bare "$work" "$(realpath "$build/bench/startup/bare_window")" \
        --case sample "$work/sample" "$app" \
        --case full "$work/full" "$app" \
        --case controls "$work" "$(realpath "$build/bench/startup/controls_window")"
    echo "(m/first, p/first: against the bare window; m/second, p/second: against the sample data;"
    echo " controls: the toolkit alone building a window with the main window's controls and font)"
fi

# Instructions to the first paint: callgrind writes what was counted when the task that waits for
# the first paint starts, and the program is stopped a little later.
count_to_first_paint() {
    local folder=$1 program=$2 out
    out=$(mktemp -d "$work/count.XXXX")
    (cd "$folder" && exec valgrind --tool=callgrind --callgrind-out-file="$out/cg.%p" \
        --dump-before='trv::AfterFirstPaint::runNow*' "$program") >"$out/log" 2>&1 &
    local pid=$!
    for _ in $(seq 200); do
        compgen -G "$out/cg.*.1" >/dev/null && break
        sleep 0.2
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    local dump
    dump=$(compgen -G "$out/cg.*.1" | head -n1) || { echo "no first paint under callgrind" >&2; exit 1; }
    sed -n 's/^totals: *//p' "$dump"
}
if [ "${COUNT:-0}" = 1 ]; then
    command -v valgrind >/dev/null || { echo "COUNT=1 needs valgrind" >&2; exit 1; }
    echo "instructions to the first paint (millions):"
    for set in sample full; do
        this=$(count_to_first_paint "$work/$set" "$app")
        if [ -n "$before" ]; then
            other=$(count_to_first_paint "$work/$set" "$before")
            awk -v s="$set" -v a="$other" -v b="$this" \
                'BEGIN { printf "  %-7s other build %.2f, this build %.2f, ratio %.3f\n", s, a / 1e6, b / 1e6, b / a }'
        else
            awk -v s="$set" -v b="$this" 'BEGIN { printf "  %-7s %.2f\n", s, b / 1e6 }'
        fi
    done
fi
