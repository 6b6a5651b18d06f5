#!/usr/bin/env bash
# Installs the build tree into a fresh staging prefix for the other packaging tests.
set -euo pipefail
build=$1
stage=$2
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null
