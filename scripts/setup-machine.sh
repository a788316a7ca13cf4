#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine: CMake, the
# host compiler and GoogleTest's sources, MinGW-w64, 64-bit Wine, an X server
# without a screen, the locale sources (a Russian locale is compiled for the tests),
# the tools the tests use, and clang with its runtimes for the fuzz targets. Skips
# apt-get when all is present.
set -euo pipefail
packages=(cmake g++ make googletest mingw-w64 wine64 xvfb x11-utils imagemagick locales
          osslsigncode openssl python3 clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
