# Sourced by the Wine wrappers: the private prefix and a quiet, prompt-free Wine.
QUOR_ROOT=${QUOR_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$QUOR_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64
if [ -x /usr/lib/wine/wine64 ]; then
  export WINELOADER=/usr/lib/wine/wine64
  QUOR_WINE_BIN=/usr/lib/wine/wine64
else
  QUOR_WINE_BIN=wine
fi
QUOR_XVFB_FILE=$QUOR_ROOT/build/xvfb.display

# Creates the prefix once; concurrent callers wait for the first.
quor_ensure_prefix() {
  mkdir -p "$QUOR_ROOT/build"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$QUOR_WINE_BIN" wineboot -i >/dev/null 2>&1 || true
      wineserver -w 2>/dev/null || true
    fi
  ) 9>"$QUOR_ROOT/build/wineprefix.lock"
}

# Picks up the display of the project's Xvfb when no display is set.
quor_use_display() {
  if [ -z "${DISPLAY:-}" ] && [ -f "$QUOR_XVFB_FILE" ]; then
    export DISPLAY=":$(cat "$QUOR_XVFB_FILE")"
  fi
}
