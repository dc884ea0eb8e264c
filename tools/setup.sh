#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing) and builds it into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake make pkg-config libwxgtk3.2-dev libglib2.0-dev libgtk-3-dev libgtest-dev libgmock-dev libbenchmark-dev
          nlohmann-json3-dev libx11-dev libxtst-dev xvfb xauth x11-apps x11-utils xdotool
          clang libclang-rt-14-dev clang-format git
          imagemagick iproute2 util-linux tshark
          fonts-dejavu-core fonts-liberation2
          librsvg2-bin desktop-file-utils appstream lintian dpkg-dev file)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
        --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
