#!/usr/bin/env bash
# Makes a fresh Wine prefix that stands for one Windows version:
#   scripts/wine-prefix.sh win98|nt40|win2k [BUILD_DIR]
# Wine's "Version" is set to that system, the matching sample machine's
# registry (samples/*/registry.reg) is imported and its other files copied.
# Prints the prefix's folder, BUILD_DIR/wine/VERSION (BUILD_DIR defaults to
# build/win64). Set DISPLAY as for the runs that follow: a desktop started
# without one stays without a display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
version=${1:-}
case "$version" in
  win98) sample=win98 ;;
  nt40) sample=nt4 ;;
  win2k) sample=win2000 ;;
  *) echo "usage: wine-prefix.sh win98|nt40|win2k [BUILD_DIR]" >&2; exit 2 ;;
esac
build=${2:-$top/build/win64}
mkdir -p "$build/wine"
prefix=$(cd "$build/wine" && pwd)/$version

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A prefix left by an earlier run may still have its server running.
[ -d "$prefix" ] && { wineserver -k 2>/dev/null || true; }
rm -rf "$prefix"
log=$prefix.log
if ! wineboot -i >"$log" 2>&1; then
  echo "wine-prefix: wineboot failed for $version (see $log)" >&2
  exit 1
fi
wineserver -w
wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >>"$log" 2>&1
# Windows that Wine places itself: with no window manager (Xvfb) each hidden
# window would otherwise wait a second for one.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$log" 2>&1
# Wine lists the host's own interfaces as NetworkCards\1, \2, ... at every
# start, so the sample's cards are imported as 901, 902, ...
seed=$prefix/drive_c/sample-registry.reg
# Wine's spooler is NT's: it opens a printer only when its key names a default
# data type, which Windows 98 printer keys do not carry.
sed -e 's/\(\\NetworkCards\\\)\([0-9]\)/\190\2/' \
  -e '/\\Print\\Printers\\[^\\]*\]\r\?$/I{
a "Datatype"="RAW"
}' "$top/samples/$sample/registry.reg" >"$seed"
wine regedit /S 'C:\sample-registry.reg' >>"$log" 2>&1
# The sample's files (Navigator profiles, ...) beside Wine's own; of its Windows
# folder only the system folder's files that Wine lacks (the dial-up phone book).
for entry in "$top/samples/$sample/drive_c"/*; do
  case "$(basename "$entry" | tr '[:upper:]' '[:lower:]')" in
    windows | winnt)
      [ -d "$entry/system32" ] && cp -rn "$entry/system32/." "$prefix/drive_c/windows/system32/"
      ;;
    *) cp -r "$entry" "$prefix/drive_c/" ;;
  esac
done
wineserver -w
if ! wine reg query 'HKCU\Software\Wine' /v Version 2>>"$log" | grep -q "REG_SZ *$version"; then
  echo "wine-prefix: the Version of $prefix is not $version (see $log)" >&2
  exit 1
fi
echo "$prefix"
