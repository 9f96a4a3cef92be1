#!/usr/bin/env bash
# Tests of the import audit: small Windows programs built here must pass or fail
# it as their imports say, with the offending import named.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cxx=i686-w64-mingw32-g++-win32
flags=(-std=c++20 -mwindows -static -static-libgcc -static-libstdc++ -D_WIN32_WINNT=0x0600)

# A DLL that exports one function by ordinal only.
printf 'LIBRARY byordinal.dll\nEXPORTS\nOrdinalOnly @7 NONAME\n' >"$work/byordinal.def"
i686-w64-mingw32-dlltool -d "$work/byordinal.def" -l "$work/libbyordinal.a" || exit 1

# name | body of WinMain | expected status of the audit | text its output must hold
cases=(
  "only allowed imports|OSVERSIONINFOA v{}; v.dwOSVersionInfoSize = sizeof v; return GetVersionExA(&v) ? 0 : 1;|0|import audit passed"
  "a Vista kernel32 function|return static_cast<int>(GetTickCount64());|1|imports kernel32.dll!GetTickCount64,"
  "an msvcrt function 98 and NT 4 lack|struct _stat64 s; return _fstat64(0, &s);|1|imports msvcrt.dll!_fstat64,"
  "an import by ordinal|return OrdinalOnly();|1|imports byordinal.dll!#7,"
)

passed=0
failed=0
n=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name body expected text <<<"$entry"
  n=$((n + 1))
  cat >"$work/case$n.cpp" <<SRC
#include <windows.h>
#include <sys/stat.h>
extern "C" __declspec(dllimport) int OrdinalOnly();
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { $body }
SRC
  if ! "$cxx" "${flags[@]}" "$work/case$n.cpp" -L"$work" -lbyordinal -o "$work/case$n.exe" 2>"$work/build$n.txt"; then
    echo "FAIL $name: does not build"
    sed 's/^/  /' "$work/build$n.txt"
    failed=$((failed + 1))
    continue
  fi
  output=$(bash "$top/scripts/import-audit.sh" "$work/case$n.exe" 2>&1)
  status=$?
  if [ "$status" -eq "$expected" ] && grep -qF -- "$text" <<<"$output"; then
    echo "PASS $name"
    passed=$((passed + 1))
  else
    echo "FAIL $name: status $status (expected $expected), output:"
    sed 's/^/  /' <<<"$output"
    failed=$((failed + 1))
  fi
done
echo "Audit: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
