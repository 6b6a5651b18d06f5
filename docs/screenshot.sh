#!/usr/bin/env bash
# Takes docs/main-window.png: the application on a copy of the sample data under a virtual X
# screen, with a protocol item loaded into the control program and a wait added.
# Needs a build (build/ by default, TRV_BUILD to use another) and the packages of scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${TRV_BUILD:-build}
work=$(mktemp -d)
cp -r data "$work/data"


Xvfb :99 -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 2
(cd "$work/data" && DISPLAY=:99 exec "$root/$build/src/app/trv") >/dev/null 2>&1 &
app=$!
sleep 3

# Clicks through the X test extension: "x,y" clicks, "x,y,2" double-clicks (screen positions).
DISPLAY=:99 python3 - 148,142 227,160,2 692,459 <<'PY'
import ctypes, sys, time
x11 = ctypes.CDLL("libX11.so.6"); xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
for arg in sys.argv[1:]:
    x, y, *times = (int(v) for v in arg.split(","))
    xtst.XTestFakeMotionEvent(display, -1, x, y, 0); x11.XFlush(display); time.sleep(0.2)
    for _ in range(times[0] if times else 1):
        xtst.XTestFakeButtonEvent(display, 1, 1, 0); xtst.XTestFakeButtonEvent(display, 1, 0, 0)
        x11.XFlush(display); time.sleep(0.05)
    time.sleep(0.5)
PY

# The 799 x 556 window is centred on the 1024 x 768 screen.
DISPLAY=:99 import -window root "$work/root.png"
convert "$work/root.png" -crop 799x556+112+106 +repage docs/main-window.png
