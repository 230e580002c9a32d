# Sourced by every script that runs Windows programs: the private 32-bit Wine prefix
# under build/, code page 936 and no Wine debug output.
_here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${MORVANE_PREFIX:-$_here/build/wineprefix}"
export WINEARCH="${MORVANE_WINEARCH:-win32}"
if [ "$WINEARCH" = win64 ]; then
  # The 64-bit loader, for the measurement build of make bench64 only.
  mkdir -p "$_here/build/wine64-bin"
  ln -sf /usr/lib/wine/wine64 "$_here/build/wine64-bin/wine"
  export PATH="$_here/build/wine64-bin:$PATH"
fi
export LC_ALL=zh_CN.UTF-8
export WINEDEBUG=-all
# No Mono or Gecko installers when the prefix is created.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset _here
