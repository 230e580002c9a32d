#!/usr/bin/env bash
# Runs every test under Wine: a private prefix kept warm for the run, and an X server of
# its own (Xvfb) for the windows and message boxes the tests drive.
set -u
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

source scripts/xvfb.sh
start_xvfb 1280x1024x24 || { echo "Xvfb did not start" >&2; exit 1; }
cleanup() {
  bash scripts/prefix.sh stop
  stop_xvfb
}
trap cleanup EXIT

bash scripts/prefix.sh start
# Five minutes a suite; where 32-bit programs run under the release's old user-mode
# emulator (see install-deps.sh) each start of a program takes a minute, and a suite
# needs many times that.
timeout=300
if grep -qx 'interpreter /usr/bin/qemu-i386-static' /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null; then
  timeout=3600
fi
ctest --test-dir build/cross --output-on-failure --timeout "$timeout" "$@"
