#!/usr/bin/env bash
# Runs the tests, in five tiers (docs/TESTING.md):
#   host      1. the GoogleTest suite through CTest on Linux, then the Windows cross-builds (x86_64
#                and i686), so a Windows-only compile error fails too;
#   sanitize  2. the same host suite built with AddressSanitizer and UndefinedBehaviorSanitizer
#                (the asan preset); any report fails the test that caused it;
#   fuzz      3. every libFuzzer target (the fuzz preset, docs/HARDENING.md) for a bounded time on a
#                copy of its seed corpus; a crash, a sanitizer report or a time-out fails the tier;
#   wine      4. the same suite cross-built for x86_64 Windows, run under Wine in a throw-away
#                prefix, so the real Win32 backend is exercised;
#   e2e       5. Tamik.exe under Wine on a private X server, fed by the test performance provider
#                and checked on screenshots, and the x86_64 release zip unpacked and run
#                (tests/e2e/run.sh).
#
#   bash tools/test.sh              # all five tiers, in that order
#   bash tools/test.sh wine e2e     # only the tiers named
#   TAMIK_FUZZ_SECONDS=300 bash tools/test.sh fuzz    # each target for 300 s (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

jobs=$(nproc)
tiers=("$@")
((${#tiers[@]})) || tiers=(host sanitize fuzz wine e2e)

build() {
  # The Windows builds link a static libjpeg built from Debian's source package (once; a rerun
  # finds it in build/deps/ and does nothing).
  case $1 in
    mingw64 | release) bash tools/build-libjpeg-mingw.sh x86_64-w64-mingw32 ;;
    mingw32 | release32) bash tools/build-libjpeg-mingw.sh i686-w64-mingw32 ;;
  esac
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs" "${@:2}"
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

tier_sanitize() {
  echo "== sanitize: the host suite under ASan and UBSan"
  build asan
  ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --preset asan -j "$jobs"
}

# Runs one fuzz target for $seconds on a copy of its seeds in $work/<target>; fails on a finding.
fuzz_target() {
  local target=$1 seconds=$2 work=$3
  local dict=()
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  cp fuzz/corpus/"$target"/* "$work/$target/corpus/"
  [[ -f fuzz/dict/$target.dict ]] && dict=(-dict="fuzz/dict/$target.dict")
  build/fuzz/fuzz/fuzz_"$target" "${dict[@]}" -max_total_time="$seconds" -timeout=25 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/$target/artifacts/" \
    "$work/$target/corpus" >"$work/$target/log" 2>&1
}

# A subshell, so that the corpus copies' clean-up trap is its own.
tier_fuzz() (
  echo "== fuzz: each libFuzzer target on a copy of its seeds"
  build fuzz
  local seconds=${TAMIK_FUZZ_SECONDS:-60}
  local work
  work=$(mktemp -d /tmp/tamik-fuzz.XXXXXX)
  trap 'rm -rf "$work"' EXIT
  # The targets run side by side, one per processor.
  local corpus target targets=() failed=()
  for corpus in fuzz/corpus/*/; do
    target=$(basename "$corpus")
    targets+=("$target")
    while (($(jobs -rp | wc -l) >= jobs)); do wait -n || true; done
    echo "-- fuzz_$target: $seconds s"
    (fuzz_target "$target" "$seconds" "$work" && touch "$work/$target.ok") &
  done
  wait
  for target in "${targets[@]}"; do
    echo "-- fuzz_$target: $(grep -h '^stat::number_of_executed_units' "$work/$target/log" |
      awk '{print $2}') executions"
    if [[ ! -f $work/$target.ok ]]; then
      tail -n 60 "$work/$target/log"
      mkdir -p build/fuzz-findings
      cp "$work/$target/artifacts/"* build/fuzz-findings/ 2>/dev/null || true
      failed+=("$target")
    fi
  done
  if ((${#failed[@]})); then
    echo "fuzz: findings in ${failed[*]} (inputs in build/fuzz-findings/)" >&2
    exit 1
  fi
)

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
  # The package check unzips the x86_64 release zip.
  build release --target package
  bash tests/e2e/run.sh
}

for tier in "${tiers[@]}"; do
  case $tier in
    host | sanitize | fuzz | wine | e2e) "tier_$tier" ;;
    *)
      echo "unknown tier '$tier' (host, sanitize, fuzz, wine, e2e)" >&2
      exit 2
      ;;
  esac
done
