#!/usr/bin/env bash
# Installs what the program and its tests need on Debian 12, only what is missing.
set -euo pipefail

packages=(
    cmake g++ make pkgconf
    qt6-base-dev qt6-multimedia-dev libsndfile1-dev libpulse-dev
    fonts-ipafont-gothic
)
if [[ "${1:-}" == "--tests" ]]; then
    packages+=(xvfb xauth pulseaudio pulseaudio-utils
               appstream desktop-file-utils dpkg-dev binutils-mingw-w64-i686
               dbus at-spi2-core python3-pyatspi)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
