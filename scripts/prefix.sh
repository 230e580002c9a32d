#!/usr/bin/env bash
# Creates the private Wine prefix when it is missing and keeps its server running,
# so that every later program starts quickly. "stop" ends the prefix's processes.
set -eu
source "$(dirname "$0")/wine-env.sh"
case "${1:-start}" in
  start)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      mkdir -p "$(dirname "$WINEPREFIX")"
      wine wineboot -i >/dev/null 2>&1 </dev/null
    fi
    # Wine 8 does not load fonts from its own font folder: without Marlett in the prefix
    # the caption buttons of window frames show as the letters "0 1 r".
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ] && [ -e /usr/share/wine/fonts/marlett.ttf ]; then
      cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    wineserver -p >/dev/null 2>&1 </dev/null || true
    ;;
  stop)
    wineserver -k >/dev/null 2>&1 </dev/null || true
    ;;
esac
