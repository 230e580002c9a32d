#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine. Safe to run again:
# it does nothing when every tool is already there.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix)
have i686-w64-mingw32-windres   || need+=(binutils-mingw-w64-i686)
have cmake    || need+=(cmake)
have ninja    || need+=(ninja-build)
have wine     || need+=(wine)
[ -x /usr/lib/wine/wine ] || need+=(wine32:i386)
have Xvfb     || need+=(xvfb)
have xmllint  || need+=(libxml2-utils)
have import   || need+=(imagemagick)
have localedef || need+=(locales)
have python3  || need+=(python3)
[ -d /usr/src/googletest ] || need+=(googletest)
[ -e /usr/share/fonts/truetype/wqy/wqy-microhei.ttc ] || need+=(fonts-wqy-microhei)
have xdotool  || need+=(xdotool)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Wine converts command-line arguments through the Unix locale, so the Chinese
# arguments of the tests need a real zh_CN.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 || true
fi
