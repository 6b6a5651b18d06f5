#!/usr/bin/env bash
# Builds the Debian package from a fresh Release tree: packaging/build-deb.sh [build folder]
# (default build-deb/). The package lands in that folder as trv_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-deb}
# Tests, benchmarks and fuzzers are not shipped; the package installs below /usr.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTRV_BUILD_GUI=ON -DTRV_BUILD_TESTS=OFF -DTRV_BUILD_BENCH=OFF -DTRV_BUILD_FUZZ=OFF
cmake --build "$build" --target trv trv-demo
(cd "$build" && cpack -G DEB)
ls "$build"/trv_*.deb
