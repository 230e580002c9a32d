#!/usr/bin/env bash
# Runs the benchmark under Wine in a prefix of its own (its trees are kept there for
# later runs) and writes the results to build/bench.txt.
set -eu
cd "$(dirname "$0")/.."
export MORVANE_PREFIX="$PWD/build/benchprefix"
bash scripts/prefix.sh start
source scripts/wine-env.sh
{
  echo "Morvane benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
  echo "Wine $(wine --version 2>/dev/null), medians of repeated runs"
  if [ "$(head -n 1 /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null)" = enabled ]; then
    echo "32-bit programs run under the user-mode emulator here: the program's code is emulated"
    echo "and the single write is not, so these ratios say nothing about the targets"
  fi
  echo
  bash scripts/wine-run build/cross/tests/morvane_bench.exe
} | tee build/bench.txt
bash scripts/prefix.sh stop
