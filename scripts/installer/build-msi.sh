#!/usr/bin/env bash
# Builds the MSI from the two binaries in BIN_DIR:
#   scripts/installer/build-msi.sh BIN_DIR OUT.msi
# The version is the one scripts/installer/version.sh prints.
set -euo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BIN_DIR=$(cd "$1" && pwd)
OUT=$2
mkdir -p "$(dirname "$OUT")"
OUT=$(cd "$(dirname "$OUT")" && pwd)/$(basename "$OUT")

# wixl takes its source files by relative path: they are gathered in one folder.
STAGE=$(mktemp -d "$(dirname "$OUT")/msi-stage.XXXXXX")
trap 'rm -rf "$STAGE"' EXIT
cp "$BIN_DIR/QuorDataViewer.exe" "$BIN_DIR/QuorGrid.dll" "$ROOT/viewer/res/viewer.ico" "$STAGE/"
(cd "$STAGE" && wixl -a x64 -I "$HERE" -D Version="$("$HERE/version.sh")" \
   -o "$OUT" "$HERE/QuorDataViewer.wxs")
