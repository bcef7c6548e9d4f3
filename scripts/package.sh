#!/usr/bin/env bash
# Builds what goes to Windows users, in build/dist:
#   QuorDataViewer-<version>.msi  the installer (per machine, silent with /qn)
#   QuorDataViewer-<version>.zip  the two binaries, for a copy-only install
# Both hold a release build (build/release) stripped of debug information.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
"$ROOT/scripts/setup.sh" --packages-only

RELEASE=build/release
if [ ! -f "$RELEASE/CMakeCache.txt" ]; then
  cmake -S . -B "$RELEASE" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
echo "package: building $RELEASE"
cmake --build "$RELEASE" -j"${QUOR_JOBS:-$(nproc)}" --target QuorDataViewer QuorGrid \
  >/dev/null 2>build/release-build.log || { cat build/release-build.log >&2; exit 1; }

VERSION=$("$ROOT/scripts/installer/version.sh")
DIST=$ROOT/build/dist
STAGE=$DIST/binaries
rm -rf "$STAGE"
mkdir -p "$STAGE"
cp "$RELEASE/bin/QuorDataViewer.exe" "$RELEASE/bin/QuorGrid.dll" "$STAGE/"
x86_64-w64-mingw32-strip --strip-debug "$STAGE/QuorDataViewer.exe" "$STAGE/QuorGrid.dll"

MSI=$DIST/QuorDataViewer-$VERSION.msi
ZIP=$DIST/QuorDataViewer-$VERSION.zip
rm -f "$MSI" "$ZIP"
"$ROOT/scripts/installer/build-msi.sh" "$STAGE" "$MSI"
(cd "$STAGE" && zip -q -X "$ZIP" QuorDataViewer.exe QuorGrid.dll)
rm -rf "$STAGE"
echo "package: $MSI"
echo "package: $ZIP"
