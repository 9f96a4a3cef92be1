#!/usr/bin/env bash
# Shows Vantrel's main window through Wine on a prefix seeded with a sample machine.
#   scripts/show-window.sh [win2k|nt40|win98]        the window on $DISPLAY
#   scripts/show-window.sh --pictures [VERSION...]   pictures of each page and of every
#                                                    dialog in docs/screenshots/ (under Xvfb)
# Without $DISPLAY the pictures are made, for all three versions unless named.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
pictures=0
[ -z "${DISPLAY:-}" ] && pictures=1
if [ "${1:-}" = --pictures ]; then
  pictures=1
  shift
fi
versions=("$@")
if [ ${#versions[@]} -eq 0 ]; then
  if [ $pictures -eq 1 ]; then versions=(win2k nt40 win98); else versions=(win2k); fi
fi
for v in "${versions[@]}"; do
  case "$v" in
    win98 | nt40 | win2k) ;;
    *) echo "show-window: unknown Windows version '$v' (win98, nt40, win2k)" >&2; exit 2 ;;
  esac
done

# The 64-bit build: Wine here runs 64-bit programs only.
bash scripts/install-deps.sh
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$top
fi
cmake --preset win64 >/dev/null
cmake --build --preset win64 >/dev/null
build=$top/build/win64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ $pictures -eq 0 ]; then
  export WINEPREFIX
  WINEPREFIX=$(bash scripts/wine-prefix.sh "${versions[0]}" "$build")
  cd "$WINEPREFIX/drive_c"
  exec wine "$build/vtl.exe"
fi

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
read -r -t 30 display <"$fifo" || { echo "show-window: Xvfb did not start" >&2; exit 1; }
rm -f "$fifo"
export DISPLAY=:$display

shots=$top/docs/screenshots
mkdir -p "$shots"
for v in "${versions[@]}"; do
  export WINEPREFIX
  WINEPREFIX=$(bash scripts/wine-prefix.sh "$v" "$build")
  raw=$build/shots/$v
  rm -rf "$raw"
  mkdir -p "$raw"
  # In a Wine desktop, which draws the title bars that no window manager draws here.
  (cd "$build" && VANTREL_SCREENSHOTS=$(winepath -w "$raw") \
    wine explorer /desktop=vantrel,1024x768 vantrel_win_tests.exe \
    --gtest_filter='MainWindowViewTest.EachPage*:DialogViews.EveryDialog*:DialogViews.NetworkDrives*' \
    --gtest_color=no) | tee "$raw/tests.txt"
  if ! grep -q '^\[  PASSED  \] 3 tests' "$raw/tests.txt"; then
    echo "show-window: the layout checks failed on $v (pictures made anyway)" >&2
  fi
  for bmp in "$raw"/*.bmp; do
    [ -f "$bmp" ] || continue
    png=$shots/$(basename "$bmp" .bmp)-$v.png
    convert "$bmp" -strip -colors 256 "PNG8:$png"
    echo "$png"
  done
  wineserver -k 2>/dev/null || true
done
