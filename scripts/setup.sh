#!/usr/bin/env bash
# Installs every Debian package the project needs, skipping what is present.
# Safe to run again and again; needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
    g++ cmake make pkg-config file
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    g++-mingw-w64-i686 binutils-mingw-w64-i686
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all ${#packages[@]} required packages are present"
    exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
echo "setup: done"
