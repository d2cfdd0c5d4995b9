#!/usr/bin/env bash
# Runs the tests, in three tiers (docs/TESTING.md):
#   host  1. the GoogleTest suite through CTest on Linux, then the Windows cross-builds (x86_64 and
#            i686), so a Windows-only compile error fails too;
#   wine  2. the same suite cross-built for x86_64 Windows, run under Wine in a throw-away prefix,
#            so the real Win32 backend is exercised;
#   e2e   3. Tamik.exe under Wine on a private X server, fed by the test performance provider and
#            checked on screenshots (tests/e2e/run.sh).
#
#   bash tools/test.sh              # all three tiers, in that order
#   bash tools/test.sh wine e2e     # only the tiers named
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

jobs=$(nproc)
tiers=("$@")
((${#tiers[@]})) || tiers=(host wine e2e)

build() {
  # The Windows builds link a static libjpeg built from Debian's source package (once; a rerun
  # finds it in build/deps/ and does nothing).
  case $1 in
    mingw64) bash tools/build-libjpeg-mingw.sh x86_64-w64-mingw32 ;;
    mingw32) bash tools/build-libjpeg-mingw.sh i686-w64-mingw32 ;;
  esac
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
}

tier_host() {
  echo "== host: build and test"
  build host
  ctest --preset host -j "$jobs"
  for preset in mingw64 mingw32; do
    echo "== $preset: cross-build"
    build "$preset"
  done
}

# A subshell, so that the environment's clean-up trap is its own.
tier_wine() (
  echo "== wine: the test suite as a Windows x86_64 program"
  build mingw64
  # shellcheck source=tools/wine-env.sh
  source tools/wine-env.sh
  trap wine_env_destroy EXIT
  local started=$SECONDS
  wine_env_create ""
  wine_env_start_x
  wine_env_boot
  wine build/mingw64/tests/tamik_tests.exe --gtest_brief=1
  echo "== wine: done in $((SECONDS - started)) s"
)

tier_e2e() {
  echo "== e2e: Tamik.exe under Wine"
  build mingw64
  bash tests/e2e/run.sh
}

for tier in "${tiers[@]}"; do
  case $tier in
    host | wine | e2e) "tier_$tier" ;;
    *)
      echo "unknown tier '$tier' (host, wine, e2e)" >&2
      exit 2
      ;;
  esac
done
