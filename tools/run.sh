#!/usr/bin/env bash
# Builds Tamik.exe for Windows x86_64 and runs it under Wine, showing this machine's real processor
# loads.
#
#   bash tools/run.sh                          # on $DISPLAY until the gadget is closed; without a
#                                              # display: a screenshot in /tmp, then stop
#   bash tools/run.sh --screenshot FILE        # without a display: the screenshot goes to FILE
#                                              # (for example docs/screenshot.png)
#
# Wine has no performance provider for the "Processor" object of its own, so the test provider
# (tests/e2e/provider) is registered in live mode: it serves the machine's per-processor idle
# times as Wine reads them from /proc/stat. The Wine prefix is kept in ~/.cache/tamik/prefix and
# reused from one run to the next.
set -euo pipefail
cd "$(dirname "$0")/.."

screenshot=/tmp/tamik-screenshot.png
while (($#)); do
  case $1 in
    --screenshot)
      screenshot=${2:?--screenshot needs a file name}
      shift 2
      ;;
    *)
      echo "usage: bash tools/run.sh [--screenshot FILE]" >&2
      exit 2
      ;;
  esac
done
[[ $screenshot == /* ]] || screenshot=$PWD/$screenshot

bash tools/install-deps.sh
bash tools/build-libjpeg-mingw.sh x86_64-w64-mingw32
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 -j "$(nproc)" --target Tamik tamik_perf_provider

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
trap wine_env_destroy EXIT
trap 'exit 130' INT TERM
wine_env_create "${XDG_CACHE_HOME:-$HOME/.cache}/tamik"
headless=0
if [[ -z ${DISPLAY:-} ]]; then
  headless=1
  wine_env_start_x
fi
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "Creating the Wine prefix $WINEPREFIX (once)..."
  wine_env_boot
fi
wine_env_register_provider build/mingw64/tests/e2e/provider/TamikPerf.dll
wine_env_script live
wine_env_start tamik build/mingw64/app/Tamik.exe

if ((headless)); then
  # The window, then four samples: the first is taken at start and each tick of the refresh timer
  # takes one more, so by the fourth the bars have shown loads measured over real intervals for
  # more than a second.
  if ! wine_env_wait_windows Tamik 60 >/dev/null || ! wine_env_poll 30 wine_env_has_queries 4; then
    echo "Tamik did not come up; its output is in $WINE_ENV_DIR/tamik.log" >&2
    exit 1
  fi
  mkdir -p "$(dirname "$screenshot")"
  shot=$WINE_ENV_DIR/screen.png
  wine_env_screenshot "$shot"
  # The gadget's window with a margin of 16 pixels.
  read -r x y w h < <(wine_env_geometry "$(wine_env_largest_window Tamik)")
  "$WINE_ENV_CONVERT" "$shot" -crop "$((w + 32))x$((h + 32))+$((x - 16))+$((y - 16))" +repage \
    "$screenshot"
  echo "Screenshot of the running gadget: $screenshot"
else
  echo "Tamik is running on $DISPLAY; press Ctrl+C here to end it."
  wait "${WINE_ENV_PIDS[@]}" || true
fi
