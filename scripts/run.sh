#!/usr/bin/env bash
# Builds vtl and runs it on the bundled Windows 2000 sample machine (on a scratch copy).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vtl
work=$(mktemp -d)
cp -r samples/win2000 "$work/machine"
./build/release/vtl --machine "$work/machine" "$@"
