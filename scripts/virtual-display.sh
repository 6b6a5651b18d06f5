# Sourced by the scripts that need an X screen of their own (docs/screenshot.sh,
# scripts/bench-startup.sh). start_virtual_display FOLDER SIZE starts Xvfb on a free display
# number (it writes the number to the descriptor given), exports DISPLAY and sets xvfb_pid.
start_virtual_display() {
    local work=$1 size=$2
    exec 3<>"$work/display"
    Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$work/display")"
}
