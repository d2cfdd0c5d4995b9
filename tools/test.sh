#!/usr/bin/env bash
# Runs every test: the host suite (GoogleTest through CTest), then the Windows cross-builds
# (x86_64 and i686), so a Windows-only compile error fails too.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

jobs=$(nproc)

echo "== host: build and test"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs"

for preset in mingw64 mingw32; do
  echo "== $preset: cross-build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
