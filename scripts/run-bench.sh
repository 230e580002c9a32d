#!/usr/bin/env bash
# Runs the benchmark under Wine in a prefix of its own (its trees are kept there for
# later runs) and writes the results to build/bench.txt. "64" runs the 64-bit build under
# 64-bit Wine instead (build/bench64.txt): where 32-bit programs run only through the
# user-mode emulator, that is the build whose figures say something about the code.
set -eu
cd "$(dirname "$0")/.."
bits="${1:-32}"
[ $# -gt 0 ] && shift
if [ "$bits" = 64 ]; then
  export MORVANE_PREFIX="$PWD/build/bench64prefix" MORVANE_WINEARCH=win64
  program=build/bench64/tests/morvane_bench.exe
  results=build/bench64.txt
else
  export MORVANE_PREFIX="$PWD/build/benchprefix"
  program=build/cross/tests/morvane_bench.exe
  results=build/bench.txt
fi
source scripts/xvfb.sh
start_xvfb
trap stop_xvfb EXIT
bash scripts/prefix.sh start
source scripts/wine-env.sh
{
  echo "Morvane benchmark ($bits-bit build), $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
  echo "Wine $(wine --version 2>/dev/null), medians of repeated runs"
  if [ "$bits" = 32 ] && [ "$(head -n 1 /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null)" = enabled ]; then
    echo "32-bit programs run under the user-mode emulator here: the program's code is emulated"
    echo "and the single write is not, so these ratios say nothing about the targets (make bench64)"
  fi
  echo
  bash scripts/wine-run "$program" "$@"
} | tee "$results"
bash scripts/prefix.sh stop
