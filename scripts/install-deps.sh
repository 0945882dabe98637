#!/usr/bin/env bash
# Installs the Debian packages that building and testing KAVO needs, when they are missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build ccache pkg-config git
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
    libxkbcommon-dev
    libgif-dev libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core fonts-liberation
    python3 python3-jsonschema nlohmann-json3-dev
    python3-igraph python3-networkx
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
