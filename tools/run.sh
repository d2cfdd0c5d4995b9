#!/usr/bin/env bash
# Builds Tamik.exe for Windows x86_64 (and i686). The gadget's main window is not there yet: the
# program builds and its logic is tested (tools/test.sh); running it on screen comes with the
# main window.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

for preset in mingw64 mingw32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
echo
echo "Built build/mingw64/app/Tamik.exe and build/mingw32/app/Tamik.exe."
echo "The gadget has no window yet: the main window comes with the next step of the project."
