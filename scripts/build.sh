#!/usr/bin/env bash
# Configures and builds the project into build/ (the dev preset: optimised, with debug info).
# Extra arguments go to the configure step, e.g. -DTRV_BUILD_BENCH=OFF.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev "$@"
cmake --build --preset dev
