#!/usr/bin/env bash
# Start-up time of vtl.exe under Wine on the Windows 2000 sample: process start to the
# main window's first paint, beside `vtl.exe /hidden` doing nothing.
#   scripts/bench-startup.sh [RUNS]        (default 10)
# Builds the 64-bit Windows build, makes a fresh win2k prefix and runs under its own Xvfb.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
runs=${1:-10}
bash scripts/install-deps.sh
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$top
fi
cmake --preset win64 >/dev/null
cmake --build --preset win64 >/dev/null
build=$top/build/win64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null || true; }
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$fifo" 2>/dev/null &
xvfb_pid=$!
read -r -t 30 display <"$fifo" || { echo "bench-startup: Xvfb did not start" >&2; exit 1; }
rm -f "$fifo"
export DISPLAY=:$display

export WINEPREFIX
WINEPREFIX=$(bash scripts/wine-prefix.sh win2k "$build")
cd "$WINEPREFIX/drive_c"
VANTREL_UNATTENDED=1 wine "$build/bench_startup.exe" "$runs" "$(winepath -w "$build/vtl.exe")"
