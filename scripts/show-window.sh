#!/usr/bin/env bash
# Shows Vantrel's main window through Wine on a Windows 2000 prefix seeded with
# the Windows 2000 sample machine. With a display the window opens there; with
# none it runs under Xvfb and writes pictures of each page and of every dialog to
# docs/screenshots/.
#   scripts/show-window.sh [win2k|nt40|win98]
set -euo pipefail
cd "$(dirname "$0")/.."
version="${1:-win2k}"
case "$version" in
  win98) sample=win98 ;;
  nt40) sample=nt4 ;;
  win2k) sample=win2000 ;;
  *) echo "show-window: unknown Windows version '$version' (win98, nt40, win2k)" >&2; exit 2 ;;
esac

need() { [ -f "$1" ] || { echo "show-window: $1 is missing (the Windows build scripts)" >&2; exit 1; }; }
need scripts/build-windows.sh
need scripts/wine-prefix.sh

# The 64-bit build: Wine here runs 64-bit programs only.
build_dir="$(bash scripts/build-windows.sh x86_64 | tail -n 1)"
exe="$build_dir/vtl.exe"
tests="$build_dir/vantrel_win32_tests.exe"
[ -f "$exe" ] || { echo "show-window: no $exe after the build" >&2; exit 1; }

export WINEPREFIX="${WINEPREFIX:-$PWD/build/wine-$version}"
bash scripts/wine-prefix.sh "$WINEPREFIX" "samples/$sample" "$version"
export WINEDEBUG=-all

xvfb_pid=""
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi

export DISPLAY=:77
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp &
xvfb_pid=$!
sleep 2
shots="$PWD/docs/screenshots"
mkdir -p "$shots" build/shots
[ -f "$tests" ] || { echo "show-window: $tests is missing" >&2; exit 1; }
VANTREL_UNATTENDED=1 VANTREL_SCREENSHOTS="$(winepath -w build/shots)" \
  wine "$tests" --gtest_filter='*Screenshots*:DialogViews.EveryDialog*'
for bmp in build/shots/main-*.bmp build/shots/dialog-*.bmp; do
  name="$(basename "$bmp" .bmp)"
  convert "$bmp" "$shots/$name-$version.png"
  echo "$shots/$name-$version.png"
done
