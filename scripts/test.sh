#!/usr/bin/env bash
# Every test: the sources' format, the Linux build under AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings as errors) with its tests, a short run of each
# fuzz target (clang, libFuzzer, the same sanitizers), then the Windows
# builds, the import audit of vtl.exe and the add-in, and the Windows tests under
# Wine as Windows 98, NT 4 and 2000.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$PWD
fi
# Every source is formatted as .clang-format says.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run --Werror
fi
bash scripts/check-help.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
echo "== Fuzz targets"
bash scripts/fuzz.sh

echo "== Windows builds"
bash scripts/build-windows.sh --tests
echo "== Import audit"
bash scripts/import-audit-test.sh
bash scripts/import-audit.sh build/win32/vtl.exe build/win32/addins/*.dll
echo "== Wine"
bash scripts/wine-tests.sh build/win64
