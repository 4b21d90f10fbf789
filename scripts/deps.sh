#!/usr/bin/env bash
# Installs what building, testing and packaging need on a fresh Debian machine (run as root).
# osslsigncode signs the package's programs; openssl makes the tests' throwaway certificate.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest
          mingw-w64 wine wine64 fonts-wine fonts-vlgothic xvfb x11-utils
          libgif-dev giflib-tools imagemagick python3 python3-pil libpng-dev
          osslsigncode openssl)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}" >/dev/null
fi
