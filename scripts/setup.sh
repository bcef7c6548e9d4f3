#!/usr/bin/env bash
# Installs what this project needs from Debian's packages (only what is
# missing), then configures and builds the native and the Windows trees.
#   scripts/setup.sh --packages-only   installs the packages and stops
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

PACKAGES=(
  cmake g++ make googletest
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine64 wine libwine-dev
  xvfb xauth x11-utils imagemagick
  clang libclang-rt-14-dev
  msitools wixl zip ccache
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

[ "${1:-}" = --packages-only ] && exit 0

JOBS=${QUOR_JOBS:-$(nproc)}
configure() {  # dir, extra args...
  local dir=$1; shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" "$@" >/dev/null
  fi
}
configure build/native
configure build/win -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake"

echo "setup: building build/native"

cmake --build build/native -j"$JOBS" >/dev/null 2>build/native-build.log || { cat build/native-build.log >&2; exit 1; }
echo "setup: building build/win"
cmake --build build/win -j"$JOBS" >/dev/null 2>build/win-build.log || { cat build/win-build.log >&2; exit 1; }
echo "setup: done"
