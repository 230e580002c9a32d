#!/usr/bin/env bash
# Creates the private Wine prefix when it is missing and keeps its server running,
# so that every later program starts quickly. "stop" ends the prefix's processes.
set -eu
source "$(dirname "$0")/wine-env.sh"
case "${1:-start}" in
  start)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      mkdir -p "$(dirname "$WINEPREFIX")"
      wineboot -i >/dev/null 2>&1 </dev/null
    fi
    wineserver -p >/dev/null 2>&1 </dev/null || true
    ;;
  stop)
    wineserver -k >/dev/null 2>&1 </dev/null || true
    ;;
esac
