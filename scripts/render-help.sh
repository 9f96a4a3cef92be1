#!/usr/bin/env bash
# Renders every help page to a PNG in build/help-png/ with headless Chromium, for looking at.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh help
out=build/help-png
mkdir -p "$out"
for page in help/*.htm help/*.html; do
    name=$(basename "${page%.*}")
    timeout 120 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars \
        --window-size=800,2400 --screenshot="$out/$name.png" "file://$PWD/$page" 2>/dev/null
done
echo "render-help: $(ls "$out" | wc -l) pages in $out"
