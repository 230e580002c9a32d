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
# Wine's window frames draw their caption buttons with the Marlett font.
[ -e /usr/share/wine/fonts/marlett.ttf ] || need+=(fonts-wine)
# "--bench64": the 64-bit compiler and Wine as well, for side-by-side measurements where
# 32-bit programs run only through the user-mode emulator (make bench64).
if [ "${1:-}" = --bench64 ]; then
  have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
  [ -x /usr/lib/wine/wine64 ] || need+=(wine64)
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

apt_install() {
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null && return
  # The 32-bit libraries must match the 64-bit ones to the version. When one suite's
  # index of one architecture is missing (a mirror out of sync), the candidates of
  # the two differ; taking the release's own suite first makes them agree again.
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || return 1
  echo "retrying the install from $codename first" >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends -t "$codename" "$@" >/dev/null
}

if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  # A mirror in the middle of a sync fails single index files; try again, and in the
  # end install from the indexes that did arrive.
  for attempt in 1 2 3; do
    $sudo apt-get update -qq && break
    echo "apt-get update failed (attempt $attempt of 3)" >&2
    [ "$attempt" -lt 3 ] && sleep 10
  done
  apt_install "${need[@]}"
fi

# Wine converts command-line arguments through the Unix locale, so the Chinese
# arguments of the tests need a real zh_CN.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 || true
fi

# Some virtual machines run a kernel without 32-bit user space: the 32-bit Wine loader
# then fails with "Exec format error". There, 32-bit Linux programs run through the
# user-mode emulator, registered for 32-bit x86 programs (the host's package leaves that
# out on a 64-bit x86 host).
#
# The emulator must be version 8 or later. Version 7 keeps its page flags page by page
# and walks them on every mapping; Wine maps all the time, so each Wine process took a
# minute of CPU time just to start (measured: `wine cmd /c echo` 2 min there, 0.9 s on
# version 10). The release's backports suite has a recent one, built static.
binfmt=/proc/sys/fs/binfmt_misc
emulator=/usr/bin/qemu-i386
emulator_major() { "$emulator" -version 2>/dev/null | sed -n '1s/.* version \([0-9]*\)\..*/\1/p'; }
if [ -x /usr/lib/wine/wine ] &&
   { [ "$(head -n 1 "$binfmt/qemu-i386" 2>/dev/null)" = enabled ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; }; then
  if [ "$(emulator_major)" = "" ] || [ "$(emulator_major)" -lt 8 ]; then
    echo "this kernel runs no 32-bit programs: installing a recent user-mode emulator"
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    sources=/etc/apt/sources.list.d/morvane-backports.list
    if [ -n "$codename" ]; then
      # Backports are never taken unless asked for, so this changes no other package.
      [ -e "$sources" ] ||
        echo "deb http://deb.debian.org/debian $codename-backports main" | $sudo tee "$sources" >/dev/null
      $sudo apt-get update -qq || true
    fi
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
      -t "$codename-backports" qemu-user >/dev/null || true
    if [ "$(emulator_major)" = "" ] || [ "$(emulator_major)" -lt 8 ]; then
      # No backports: the release's own emulator works, only far slower.
      echo "no recent emulator to be had: using the release's (the tests take about an hour)" >&2
      [ -x /usr/bin/qemu-i386-static ] || apt_install qemu-user-static
      emulator=/usr/bin/qemu-i386-static
    fi
  fi
  [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt"
  # An entry for another emulator (an older one, say) is replaced.
  if [ -e "$binfmt/qemu-i386" ] && ! grep -qx "interpreter $emulator" "$binfmt/qemu-i386"; then
    echo -1 | $sudo tee "$binfmt/qemu-i386" >/dev/null
  fi
  if [ ! -e "$binfmt/qemu-i386" ]; then
    magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::$magic:$mask:$emulator:F" | $sudo tee "$binfmt/register" >/dev/null
  elif [ "$(head -n 1 "$binfmt/qemu-i386")" != enabled ]; then
    echo 1 | $sudo tee "$binfmt/qemu-i386" >/dev/null
  fi
  /usr/lib/wine/wine --version >/dev/null || { echo "32-bit Wine does not start on this machine" >&2; exit 1; }
fi
