#!/usr/bin/env bash
# The download, end to end: the x86_64 release zip (cmake --build --preset release --target
# package) matches its .sha256, holds exactly Tamik.exe, README.txt and LICENSE.txt, and the
# Tamik.exe unzipped from it carries the version resource and manifest built from the root
# CMakeLists.txt (read back with GetFileVersionInfo and FindResource by version_probe.exe), starts
# under Wine, draws its bars, and keeps its settings under HKCU\Software\Tamik as README.txt says.
#
# TAMIK_PACKAGE chooses the zip (default: the release preset's, named after the version).

# shellcheck source=tests/e2e/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

E2E_VERSION_PROBE=$E2E_BUILD/tests/e2e/provider/version_probe.exe

# The version as the root CMakeLists.txt sets it: "2.0.0.0" and "2.0a".
E2E_VERSION_NUMBER=$(sed -n 's/^project(Tamik VERSION \([0-9.]*\) .*/\1/p' "$E2E_ROOT/CMakeLists.txt")
E2E_VERSION_TEXT=$(sed -n 's/^set(TAMIK_VERSION_TEXT "\(.*\)")$/\1/p' "$E2E_ROOT/CMakeLists.txt")
E2E_PACKAGE=${TAMIK_PACKAGE:-$E2E_ROOT/build/release/Tamik-$E2E_VERSION_TEXT-win64.zip}

# The supportedOS entries the manifest must list: Vista, 7, 8, 8.1, 10 and 11.
E2E_SUPPORTED_OS=(
  e2011457-1546-43c5-a5fe-008deee3d3f0
  35138b9a-5d96-4fbd-8e2d-a2440225f93a
  4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38
  1f676c76-80e1-4239-95bb-83d0f6d0da78
  8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a
)

e2e_package_checksum_holds() {
  (cd "$(dirname "$E2E_PACKAGE")" && sha256sum --check --quiet "$(basename "$E2E_PACKAGE").sha256")
}

e2e_package_lists() {
  local actual
  actual=$(unzip -Z1 "$E2E_PACKAGE" | sort | tr '\n' ' ')
  [[ $actual == "$1" ]] && return 0
  echo "        the archive holds: $actual"
  return 1
}

# e2e_probe_has LINE : the version probe's output holds the exact line.
e2e_probe_has() {
  grep -qxF -- "$1" "$E2E_OUT/package-version.txt" && return 0
  echo "        no line '$1' in $E2E_OUT/package-version.txt"
  return 1
}

# e2e_manifest_has TEXT : the manifest printed by the probe holds TEXT.
e2e_manifest_has() {
  sed -n '/^manifest /,$p' "$E2E_OUT/package-version.txt" | tr -s ' \n' ' ' |
    grep -qF -- "$1" && return 0
  echo "        the manifest does not hold '$1'"
  return 1
}

e2e_store_key_exists() { wine reg query "$E2E_STORE_KEY" >/dev/null 2>&1; }

check_package() {
  if [[ ! -f $E2E_PACKAGE || ! -f $E2E_VERSION_PROBE ]]; then
    e2e_fail "$E2E_PACKAGE and $E2E_VERSION_PROBE exist (build the release preset's package target and the mingw64 preset)"
    return 1
  fi
  e2e_check "the archive matches its .sha256" e2e_package_checksum_holds
  e2e_check "the archive holds LICENSE.txt, README.txt and Tamik.exe, nothing else" \
    e2e_package_lists "LICENSE.txt README.txt Tamik.exe "
  local dir=$WINE_ENV_DIR/package
  rm -rf "$dir"
  mkdir -p "$dir"
  unzip -q "$E2E_PACKAGE" -d "$dir" || return 1
  e2e_check "README.txt names the version" grep -qF "Tamik $E2E_VERSION_TEXT" "$dir/README.txt"
  e2e_check "README.txt names the settings key" \
    grep -qF 'HKEY_CURRENT_USER\Software\Tamik' "$dir/README.txt"

  # The identity of the unzipped program.
  local probed=0
  wine "$E2E_VERSION_PROBE" "$(wine_env_windows_path "$dir/Tamik.exe")" \
    >"$WINE_ENV_DIR/package-version.txt" 2>/dev/null || probed=$?
  tr -d '\r' <"$WINE_ENV_DIR/package-version.txt" >"$E2E_OUT/package-version.txt"
  e2e_check "the version probe finds a version resource" test "$probed" -eq 0
  local line
  while IFS= read -r line; do
    e2e_check "version resource: $line" e2e_probe_has "$line"
  done <<LINES
fixed $E2E_VERSION_NUMBER $E2E_VERSION_NUMBER
translation 0409 04b0
string FileVersion=$E2E_VERSION_NUMBER
string ProductVersion=$E2E_VERSION_TEXT
string ProductName=Tamik
string FileDescription=Tamik processor load gadget
string OriginalFilename=Tamik.exe
string LegalCopyright=Copyright (c) Tamik developers. MIT licence.
LINES
  local text
  for text in 'level="asInvoker"' 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
    '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">false</dpiAware>'; do
    e2e_check "manifest: $text" e2e_manifest_has "$text"
  done
  for text in "${E2E_SUPPORTED_OS[@]}"; do
    e2e_check "manifest: supportedOS {$text}" e2e_manifest_has "<supportedOS Id=\"{$text}\"/>"
  done

  # The unzipped program runs: from a fresh store, two processors at 50 % and 25 %.
  wine reg delete 'HKCU\Software\Tamik' /f >/dev/null 2>&1 || true
  wine_env_set_version ""
  wine_env_script "scripted 50 25"
  local E2E_TAMIK=$dir/Tamik.exe
  e2e_start_tamik tamik-package 3 || return 1
  e2e_check "the window is at 198, 107 and 124 x 100" e2e_geometry_is 198 107 124 100
  e2e_check "no error box" e2e_no_error_box
  wine_env_set_backdrop
  e2e_check "the backdrop is on the screen" wine_env_backdrop_shown
  e2e_expect_reset
  e2e_expect_bar 0 50 "left bar (processor 0, 50 %)"
  e2e_expect_bar 63 25 "right bar (processor 1, 25 %)"
  e2e_screen_matches package 15

  # Where README.txt says the settings live.
  e2e_check "the window asked to close accepts" wine "$E2E_POST_CLOSE"
  e2e_check "the program ends when its main window closes" wine_env_poll 30 e2e_tamik_ended
  e2e_check "the settings are under HKCU\\Software\\Tamik\\TMainForm" e2e_store_key_exists
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then e2e_run_alone "the release package" check_package; fi
