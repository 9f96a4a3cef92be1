#!/usr/bin/env bash
# Builds vtl and runs it on a scratch copy of the bundled Windows 2000 sample machine.
# Without arguments it saves the machine's current configuration as a .vtl file and
# exports the settings report, then shows both; with arguments it runs `vtl` with them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vtl NetworkDrives
work=$(mktemp -d)
cp -r samples/win2000 "$work/machine"
vtl() { ./build/release/vtl --machine "$work/machine" "$@"; }
if [ $# -gt 0 ]; then
  vtl "$@"
  exit
fi
vtl /hidden /save "$work/current.vtl" /export "$work/report.txt"
echo "== Settings report of the sample machine ($work/report.txt)"
cat "$work/report.txt"
echo
echo "== Its configuration file ($work/current.vtl)"
cat "$work/current.vtl"
