#!/usr/bin/env bash
# Takes the pictures in docs/ on a virtual X screen, each program run on a fresh copy of the sample
# data with its user folders in a temporary folder:
#   main-window.png      the main window with a protocol item loaded into the control program and
#                        a wait added;
#   program-finder.png   the same with the "Find Program" dialog (Ctrl+F) finding "relax";
#   treatment-record.png the Treatment Record window (Ctrl+R) of trv-demo after a short session:
#                        the same control program downloaded, started and watched for a few seconds.
# Needs a build (build/ by default, TRV_BUILD to use another) and the packages of scripts/install-deps.sh.
# Positions are taken from the windows as they appear; within a window, from its design (the main
# window's client area starts below the menu bar).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${TRV_BUILD:-build}
work=$(mktemp -d)
xvfb=
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A display of its own.
. scripts/virtual-display.sh
start_virtual_display "$work" 1024x768x24
xvfb=$xvfb_pid
export QT_QPA_PLATFORM=xcb

# Starts a program of the build in a fresh copy of the sample data, with user folders of its own.
start() {
    local run="$work/run-$1"
    mkdir -p "$run"/{config,data,state}
    mkdir -m 700 "$run/runtime"
    cp -r data "$run/folder"
    (cd "$run/folder" && XDG_CONFIG_HOME="$run/config" XDG_DATA_HOME="$run/data" XDG_STATE_HOME="$run/state" \
        XDG_RUNTIME_DIR="$run/runtime" exec "$root/$build/src/app/$1") >"$run/log" 2>&1 &
    app=$!
}
stop() {
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    app=
}
# The visible window of the running program whose title matches; waits up to 20 s for it.
window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --all --onlyvisible --pid "$app" --name "$1" 2>/dev/null | head -n1) || true
        [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.2
    done
    echo "no window '$1' appeared" >&2
    exit 1
}
visible() {
    xdotool search --all --onlyvisible --pid "$app" --name "$1" >/dev/null 2>&1
}
# Waits up to 20 s for the window whose title matches to close.
gone() {
    for _ in $(seq 100); do
        visible "$1" || return 0
        sleep 0.2
    done
    echo "window '$1' stayed open" >&2
    exit 1
}
# Clicks (COUNT times) at X,Y of a window.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click --repeat "${4:-1}" --delay 80 1
    sleep 0.6
}
# Keys go where the pointer is; a click on the menu bar's empty end makes the window the active one.
activate() {
    click "$1" 780 $((menu / 2))
}
geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $WIDTH $HEIGHT"
}
# The frame's rectangle and the menu bar's height: the client area below it is the design's 799 x 556.
measure() {
    read -r fx fy fw fh < <(geometry "$1")
    menu=$((fh - 556))
}
main_title='Treatment Composer'

# The first protocol item opened and double-clicked (its programs with pauses become the control
# program), then "Add Wait".
compose() {
    click "$1" 36 $((36 + menu))
    click "$1" 115 $((54 + menu)) 2
    click "$1" 580 $((353 + menu))
}

start trv
frame=$(window "$main_title")
measure "$frame"
compose "$frame"
import -window root "$work/root.png"
convert "$work/root.png" -crop "${fw}x${fh}+${fx}+${fy}" +repage docs/main-window.png

activate "$frame"
xdotool key ctrl+f
finder=$(window '^Find Program$')
sleep 0.5
xdotool type --delay 60 relax
sleep 1
# The frame and the dialog together (the dialog opens over the frame, but need not lie inside it).
read -r dx dy dw dh < <(geometry "$finder")
left=$((fx < dx ? fx : dx)) top=$((fy < dy ? fy : dy))
right=$((fx + fw > dx + dw ? fx + fw : dx + dw)) bottom=$((fy + fh > dy + dh ? fy + fh : dy + dh))
import -window root "$work/root.png"
convert "$work/root.png" -crop "$((right - left))x$((bottom - top))+${left}+${top}" +repage docs/program-finder.png
stop

start trv-demo
frame=$(window "$main_title")
measure "$frame"
compose "$frame"
click "$frame" 716 $((417 + menu)) # "Download"
download=$(window '^Download$')
# "Start" is pressed once the device has verified the program: clicks on it before do nothing.
for _ in $(seq 60); do
    visible '^Device Status$' && break
    visible '^Download$' && click "$download" 72 272
    sleep 0.4
done
status=$(window '^Device Status$')
sleep 4 # the dialog polls the device
click "$status" 328 384 # "Close"
gone '^Device Status$'
activate "$frame"
xdotool key ctrl+r
record=$(window '^Treatment Record$')
sleep 1
import -window "$record" docs/treatment-record.png
stop
