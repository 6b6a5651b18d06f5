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
#   scripts/bench-startup.sh            RUNS=41 scripts/bench-startup.sh     SESSION_BUS=1 scripts/bench-startup.sh
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
"${bus[@]}" "$build/bench/startup/startup_probe" --runs "$runs" \
    --case bare "$work" "$(realpath "$build/bench/startup/bare_window")" \
    --case sample "$work/sample" "$app" \
    --case full "$work/full" "$app" \
    --case controls "$work" "$(realpath "$build/bench/startup/controls_window")"
echo "(m/first, p/first: against the bare window; m/second, p/second: against the sample data;"
echo " controls: the toolkit alone building a window with the main window's controls and font)"
