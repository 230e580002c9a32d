#!/usr/bin/env bash
# The main job: the tabular report of every verb in the classes root of the private
# prefix, written to build/report.txt and printed.
set -eu
cd "$(dirname "$0")/.."
bash scripts/prefix.sh start
source scripts/wine-env.sh
rm -f build/report.txt
wine build/morvane.exe /stabular "$(winepath -w build/report.txt 2>/dev/null)" >/dev/null 2>&1 </dev/null || true
if [ -f build/report.txt ]; then
  # The report is in code page 936; show it as UTF-8.
  iconv -f GBK -t UTF-8 build/report.txt
  echo "($(wc -l < build/report.txt) rows written to build/report.txt)"
else
  echo "no report was written" >&2
  exit 1
fi
