#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, skipping what is there.
# Never enables the i386 architecture: the Windows tests run under 64-bit Wine.
set -euo pipefail
# clang and its runtimes (libFuzzer, sanitizers) build the fuzz targets; libhivex reads
# and writes the hive files of offline Windows disks.
pkgs=(g++ clang libclang-rt-14-dev cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev
  clang-format valgrind ccache g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 googletest
  wine wine64 xvfb xauth imagemagick pkg-config libhivex-dev)
# "help": also the browser that renders the help pages (scripts/render-help.sh).
[ "${1:-}" = help ] && pkgs+=(chromium)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
