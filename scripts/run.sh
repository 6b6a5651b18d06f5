#!/usr/bin/env bash
# Installs what is needed, builds, and starts trv on the shipped sample data.
# The application reads and writes its files in the working folder, so it runs in a
# copy of data/ (run-data/) that keeps the user's settings between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ ! -d run-data ]; then
    cp -r data run-data
fi
app=build/src/app/trv
if [ "${1:-}" = "--demo" ]; then
    app=build/src/app/trv-demo
fi
cd run-data
exec "../$app"
