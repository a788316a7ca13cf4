#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine: CMake, the
# host compiler and GoogleTest's sources, MinGW-w64, 64-bit Wine and the 32-bit Wine
# that runs the shipped i686 installer (which needs the i386 architecture), an X
# server without a screen, the locale sources (a Russian locale is compiled for the
# tests), the tools the tests use, NSIS, whose installer the benchmark measures
# beside ours, and clang with its runtimes for the fuzz targets. Skips apt-get when
# all is present.
set -euo pipefail
packages=(cmake g++ make googletest mingw-w64 wine64 wine32:i386 xvfb x11-utils imagemagick locales
          osslsigncode openssl python3 nsis clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # wine32 is an i386 package: the architecture must be known before the update.
  grep -qx i386 <<<"$(dpkg --print-foreign-architectures)" || dpkg --add-architecture i386
  # A mirror that is half-way through a sync fails one index now and then; apt keeps
  # the lists it has, and the install below says whether what we need was among them.
  # Another apt-get (an automatic update, a second set-up) may hold dpkg's lock for a
  # while: wait for it rather than fail.
  apt-get -o DPkg::Lock::Timeout=600 update -qq ||
    echo "apt-get update reported errors; installing from the lists it has" >&2
  apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
