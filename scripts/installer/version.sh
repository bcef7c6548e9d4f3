#!/usr/bin/env bash
# Prints the product version: the viewer's own file version, as its
# resource script states it ("1,0,0,1" becomes 1.0.0.1).
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
sed -n 's/^FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' \
  "$ROOT/viewer/QuorDataViewer.rc" | head -n 1
