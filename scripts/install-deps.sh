#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the tools need.
# Idempotent: packages already present are skipped, and apt-get update runs at most once.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-multimedia-dev libqt6sql6-sqlite
    qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    dbus-daemon dbus-bin nlohmann-json3-dev
    libhidapi-dev libfontconfig-dev libx11-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    fonts-liberation2
    xvfb xauth imagemagick xdotool valgrind
    desktop-file-utils appstream dpkg-dev file shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
