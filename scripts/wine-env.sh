#!/usr/bin/env bash
# Starts (if needed) the project's Xvfb display and a persistent wineserver,
# then runs the given command in that environment.
#   scripts/wine-env.sh wine build/win/bin/foo.exe
#   scripts/wine-env.sh --start      (only start)
#   scripts/wine-env.sh --stop       (stop both)
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-common.sh"

start_xvfb() {
  if [ -f "$QUOR_XVFB_FILE.pid" ] && kill -0 "$(cat "$QUOR_XVFB_FILE.pid")" 2>/dev/null; then
    return 0
  fi
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  echo $! >"$QUOR_XVFB_FILE.pid"
  local display
  read -r -t 20 display <"$fifo" || true
  rm -f "$fifo"
  [ -n "$display" ] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
  echo "$display" >"$QUOR_XVFB_FILE"
}

start_all() {
  mkdir -p "$QUOR_ROOT/build"
  start_xvfb || return 1
  quor_use_display
  quor_ensure_prefix
  wineserver -p 2>/dev/null || true
  # Bring the service processes up now, away from any caller's pipes.
  "$QUOR_WINE_BIN" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_all() {
  wineserver -k 2>/dev/null || true
  if [ -f "$QUOR_XVFB_FILE.pid" ]; then
    kill "$(cat "$QUOR_XVFB_FILE.pid")" 2>/dev/null || true
    rm -f "$QUOR_XVFB_FILE.pid" "$QUOR_XVFB_FILE"
  fi
}

case "${1:-}" in
  --start) start_all ;;
  --stop) stop_all ;;
  "") echo "usage: $0 --start | --stop | CMD..." >&2; exit 2 ;;
  *)
    start_all || exit 1
    if [ "$1" = wine ]; then shift; set -- "$QUOR_WINE_BIN" "$@"; fi
    exec "$@" ;;
esac
