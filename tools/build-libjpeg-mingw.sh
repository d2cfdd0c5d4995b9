#!/usr/bin/env bash
# Builds libjpeg for the Windows targets: the libjpeg API of Debian's libjpeg-turbo source package
# (no TurboJPEG API, no tools, no shared library, no SIMD), compiled with the project's mingw-w64
# -posix compilers into a static library under the build tree:
#
#   build/deps/<triplet>/include/{jpeglib.h,jconfig.h,jmorecfg.h,jerror.h}
#   build/deps/<triplet>/lib/libjpeg.a
#   build/deps/<triplet>/SOURCE          (which source package version it came from)
#
# for x86_64-w64-mingw32 and i686-w64-mingw32. cmake/mingw64.cmake and cmake/mingw32.cmake point
# find_package(JPEG) at these prefixes; the host build uses Debian's libjpeg-dev instead.
#
#   bash tools/build-libjpeg-mingw.sh                       # both triplets
#   bash tools/build-libjpeg-mingw.sh x86_64-w64-mingw32    # only the ones named
#
# A prefix that already holds the library is left alone, so reruns cost nothing; delete
# build/deps/<triplet> to build it again. A first run installs what it needs with apt-get (as
# root): a deb-src entry for Debian's archive if there is none, dpkg-dev (for `apt-get source`),
# cmake, ninja and the mingw-w64 C compilers.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
deps=$root/build/deps

all_triplets=(x86_64-w64-mingw32 i686-w64-mingw32)
triplets=("$@")
((${#triplets[@]})) || triplets=("${all_triplets[@]}")

toolchain_of() {
  case $1 in
    x86_64-w64-mingw32) echo "$root/cmake/mingw64.cmake" ;;
    i686-w64-mingw32) echo "$root/cmake/mingw32.cmake" ;;
    *)
      echo "build-libjpeg-mingw: unknown triplet '$1' (${all_triplets[*]})" >&2
      return 1
      ;;
  esac
}

built() { [[ -f $deps/$1/lib/libjpeg.a && -f $deps/$1/include/jpeglib.h ]]; }

missing_triplets() {
  todo=()
  local triplet
  for triplet in "${triplets[@]}"; do
    toolchain_of "$triplet" >/dev/null
    built "$triplet" || todo+=("$triplet")
  done
}

missing_triplets
((${#todo[@]})) || exit 0

# One build at a time: a second run started meanwhile waits, then finds the prefixes done.
mkdir -p "$deps"
exec 9>"$deps/.lock"
flock 9
missing_triplets
((${#todo[@]})) || exit 0

started=$SECONDS
echo "== libjpeg for ${todo[*]}: building from Debian's libjpeg-turbo source package"

as_root() {
  if ((EUID != 0)); then
    echo "build-libjpeg-mingw: $* needs root; run this script as root once, or do it by hand" >&2
    return 1
  fi
}

# The tools the build needs, installed only when missing.
packages=(dpkg-dev cmake ninja-build)
for triplet in "${todo[@]}"; do
  case $triplet in
    x86_64-w64-mingw32) packages+=(gcc-mingw-w64-x86-64-posix) ;;
    i686-w64-mingw32) packages+=(gcc-mingw-w64-i686-posix) ;;
  esac
done
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

export DEBIAN_FRONTEND=noninteractive
updated=0
apt_update() {
  ((updated)) && return 0
  as_root "apt-get update"
  apt-get update -qq
  updated=1
}

# `apt-get source` needs a deb-src entry. Debian 12's images list the archive in deb822 form
# (debian.sources) and no source entries; a copy with "Types: deb-src" adds them.
has_deb_src() {
  grep -Eqs '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' \
    /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources
}
if ! has_deb_src; then
  as_root "adding a deb-src entry to apt's sources"
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    sed -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb-src/' \
      /etc/apt/sources.list.d/debian.sources >/etc/apt/sources.list.d/debian-src.sources
  elif [[ -f /etc/apt/sources.list ]]; then
    sed -nE 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list \
      >/etc/apt/sources.list.d/debian-src.list
  fi
  has_deb_src || {
    echo "build-libjpeg-mingw: found no Debian archive entry to copy as deb-src" >&2
    exit 1
  }
  echo "Added a deb-src entry for Debian's archive"
  apt_update
fi

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt_update
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d /tmp/tamik-libjpeg.XXXXXX)
trap 'rm -rf "$work" "$deps"/.stage-*' EXIT

# The source package, unpacked with Debian's patches applied. Root downloads without apt's
# sandbox user, which could not write into this private directory.
fetch_source() {
  local sandbox=()
  ((EUID != 0)) || sandbox=(-o APT::Sandbox::User=root)
  (cd "$work" && apt-get source -qq "${sandbox[@]}" libjpeg-turbo >"$work/source.log" 2>&1)
}
if ! fetch_source; then
  # The source lists may be missing or stale: refresh them once and try again.
  apt_update
  fetch_source || {
    cat "$work/source.log" >&2
    exit 1
  }
fi
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
[[ -n $src && -f $src/jpeglib.h ]] || {
  echo "build-libjpeg-mingw: the source package did not unpack as expected" >&2
  exit 1
}
version=$(cd "$work" && ls libjpeg-turbo_*.dsc)
version=${version#libjpeg-turbo_}
version=${version%.dsc}

for triplet in "${todo[@]}"; do
  echo "== libjpeg for $triplet"
  build=$work/build-$triplet
  # Release flags, the static library only; the libjpeg 6.2 API, as Debian's libjpeg-dev has.
  # Nothing is installed (the files are copied below), but the project's packaging rules need an
  # install prefix that is an absolute path on this host.
  cmake -S "$src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of "$triplet")" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$work/unused" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DWITH_JAVA=OFF \
    -DREQUIRE_SIMD=OFF >"$build.log" 2>&1 || {
    cat "$build.log" >&2
    exit 1
  }
  cmake --build "$build" -j 2 --target jpeg-static >>"$build.log" 2>&1 || {
    cat "$build.log" >&2
    exit 1
  }
  # Assembled beside the prefix and moved into place whole, so that an interrupted run never
  # leaves a prefix that looks built.
  stage=$deps/.stage-$triplet
  rm -rf "$stage"
  mkdir -p "$stage/include" "$stage/lib"
  cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$build/jconfig.h" "$stage/include/"
  cp "$build/libjpeg.a" "$stage/lib/"
  echo "libjpeg-turbo $version (Debian source package), static, without SIMD" >"$stage/SOURCE"
  rm -rf "${deps:?}/$triplet"
  mv "$stage" "$deps/$triplet"
done

echo "== libjpeg: done in $((SECONDS - started)) s"
