#!/usr/bin/env bash
# Builds the Windows program with mingw-w64:
#   scripts/build-windows.sh           build/win32/vtl.exe (32-bit release for Windows
#                                      95/98, NT 4 and 2000), build/win32/addins/NetworkDrives.dll,
#                                      and help\ beside them when the sources have help/
#   scripts/build-windows.sh --tests   also the 64-bit test build in build/win64 (vtl.exe,
#                                      the add-in and vantrel_win_tests.exe), which Wine runs here
set -euo pipefail
cd "$(dirname "$0")/.."
tests=0
case "${1:-}" in
  --tests) tests=1 ;;
  "") ;;
  *) echo "usage: build-windows.sh [--tests]" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$PWD
fi

presets=(win32)
[ $tests -eq 1 ] && presets+=(win64)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  if [ -d help ]; then
    rm -rf "build/$preset/help"
    cp -r help "build/$preset/help"
  fi
done
echo "Built build/win32/vtl.exe and build/win32/addins/NetworkDrives.dll"
