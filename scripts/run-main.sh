#!/usr/bin/env bash
# The main job: Morvane's window over the private prefix, whose classes root holds a
# sample of the verbs a Windows machine carries (resources/sample/classes.reg, imported
# once). With a display it runs until the user closes it. Without one it starts an X
# server of its own, opens the window inside a Wine desktop (so it has a frame), waits for
# the first reload, saves build/screenshot.png, prints the status-bar text, closes the
# window and ends with the program's exit code.
set -u
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
source scripts/xvfb.sh
probe=build/cross/tests/window-probe.exe

headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  start_xvfb 1024x768x24 || { echo "Xvfb did not start" >&2; exit 1; }
fi
cleanup() {
  if [ "$headless" = 1 ]; then
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 </dev/null
    bash scripts/prefix.sh stop
    stop_xvfb
  fi
}
trap cleanup EXIT

bash scripts/prefix.sh start
if [ ! -e "$WINEPREFIX/.sample-imported" ]; then
  sample="$(mktemp --suffix=.reg)"
  iconv -f UTF-8 -t GBK resources/sample/classes.reg | sed 's/$/\r/' >"$sample"
  wine regedit /S "$(winepath -w "$sample")" >/dev/null 2>&1 </dev/null
  rm -f "$sample"
  touch "$WINEPREFIX/.sample-imported"
fi

if [ "$headless" = 0 ]; then
  wine build/morvane.exe >/dev/null 2>&1 </dev/null
  exit $?
fi

# Every window of the prefix opens inside one Wine desktop, which draws the frames.
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Morvane /d 1000x700 /f >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Morvane /f >/dev/null 2>&1 </dev/null

wine build/morvane.exe >/dev/null 2>&1 </dev/null &
program=$!
status="$(mktemp)"
if ! wine "$probe" wait 120 "$(winepath -w "$status")" >/dev/null 2>&1 </dev/null; then
  echo "the window did not finish its first reload within two minutes" >&2
  kill "$program" 2>/dev/null
  rm -f "$status"
  exit 1
fi
sleep 1  # the list paints after the status bar
rm -f build/screenshot.png
import -window root -crop 1000x700+0+0 +repage build/screenshot.png
# The status bar's text is in the ANSI code page; the terminal wants UTF-8.
echo "status bar: $(iconv -f GBK -t UTF-8 "$status")"
rm -f "$status"
echo "screenshot: build/screenshot.png"
wine "$probe" close >/dev/null 2>&1 </dev/null
wait "$program"
code=$?
echo "exit code: $code"
echo "The command-line report: wine build/morvane.exe /stabular report.txt (see README)."
exit "$code"
