#!/usr/bin/env bash
# Checks what the program's folders include against the layer rules of docs/ARCHITECTURE.md:
# each folder may include only the folders listed for it, <windows.h> appears only in
# platform/win32/, and of the options dialog the main window sees only MainWindowLink.h.
# Prints every include that breaks a rule and exits 1 if there is one. Run by the host tier as
# the CTest test `layers`.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder -> the folders its files may include (its own always included).
declare -A allowed=(
  [platform]=""
  [platform/win32]="platform"
  [framework]="platform"
  [sampler]="framework platform"
  [gauge]="framework platform"
  [settings]="framework platform"
  [tray]="framework platform"
  [options]="framework platform gauge settings"
  [app]="framework platform gauge settings tray sampler options"
)

failures=0
fail() {
  echo "layers: $1" >&2
  failures=$((failures + 1))
}

for folder in "${!allowed[@]}"; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [[ -f $file ]] || continue
    while IFS= read -r line; do
      target=${line#*\"}
      target=${target%%\"*}
      # The generated header of embedded files lives in the build tree.
      [[ $target == */* ]] || continue
      dir=${target%/*}
      ok=0
      for permitted in "$folder" ${allowed[$folder]}; do
        [[ $dir == "$permitted" ]] && ok=1
      done
      # Only the program's entry picks the real backend.
      [[ $dir == platform/win32 && $file == app/main.cpp ]] && ok=1
      # The main window knows the dialog only through the link; the composition root knows both.
      if [[ $folder == app && $dir == options && $target != options/MainWindowLink.h ]]; then
        [[ $file == app/Program.cpp || $file == app/main.cpp ]] || ok=0
      fi
      ((ok)) || fail "$file includes $target"
    done < <(grep -E '^#include "' "$file" || true)
    if [[ $folder != platform/win32 ]] && grep -qiE '^#include <windows\.h>' "$file"; then
      fail "$file includes <windows.h> (only platform/win32/ may)"
    fi
  done
done

((failures == 0)) || exit 1
echo "layers: every include follows the rules"
