#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need. Runs apt-get (as root) only when
# something is missing, so repeated runs cost nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ git          # host build
  googletest                         # GoogleTest sources, built with each toolchain
  clang-14 libclang-rt-14-dev        # libFuzzer and the sanitizer runtimes (the fuzz tier)
  libjpeg-dev                        # libjpeg for the host build (Windows: tools/build-libjpeg-mingw.sh)
  g++-mingw-w64-x86-64-posix         # Windows x86_64 cross-build
  g++-mingw-w64-i686-posix           # Windows i686 cross-build
  wine wine64                        # running the x86_64 exes (tests tiers 4 and 5, tools/run.sh)
  xvfb xauth                         # a private X server for Wine's windows
  imagemagick xdotool x11-utils      # screenshots, pixels, finding windows and their geometry
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
