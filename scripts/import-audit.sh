#!/usr/bin/env bash
# Checks that Windows programs import only reviewed functions.
#   scripts/import-audit.sh [--allow FILE] [--list] PROGRAM...
# Every DLL!function (or DLL!#ordinal) that a PROGRAM imports must be on the
# allow-list (default platform/win32/imports.allow: "dll!function" per line,
# "#" starts a comment). Anything else fails, by name. --list prints the imports.
# Where the Windows reference lists are at hand (VANTREL_WINDOWS_REF, else
# ../shared/windows or /work/shared/windows), the msvcrt entries of the list are
# checked against the msvcrt.dll of each target system, and imports named in
# denylist.txt are warned about.
set -euo pipefail
export LC_ALL=C
top=$(cd "$(dirname "$0")/.." && pwd)
allow="$top/platform/win32/imports.allow"
list=0
files=()
while [ $# -gt 0 ]; do
  case "$1" in
    --allow) allow=$2; shift 2 ;;
    --list) list=1; shift ;;
    -*) echo "import-audit: unknown option $1" >&2; exit 2 ;;
    *) files+=("$1"); shift ;;
  esac
done
[ ${#files[@]} -gt 0 ] || { echo "usage: import-audit.sh [--allow FILE] [--list] PROGRAM..." >&2; exit 2; }
[ -r "$allow" ] || { echo "import-audit: cannot read the allow-list $allow" >&2; exit 2; }

objdump=
for tool in i686-w64-mingw32-objdump x86_64-w64-mingw32-objdump objdump; do
  if command -v "$tool" >/dev/null; then objdump=$tool; break; fi
done
[ -n "$objdump" ] || { echo "import-audit: objdump not found" >&2; exit 2; }

ref=
for dir in "${VANTREL_WINDOWS_REF:-}" "$top/../shared/windows" /work/shared/windows; do
  if [ -n "$dir" ] && [ -r "$dir/msvcrt.nt4.txt" ]; then ref=$dir; break; fi
done

# The list's entries: dll lower-cased, the function as written.
entries() {
  sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e 's/^[[:space:]]*//' "$1" |
    awk -F'!' 'NF { print tolower($1) "!" $2 }' | sort -u
}

# Every import of a program, one "dll!function" or "dll!#ordinal" a line.
imports() {
  "$objdump" -p "$1" | awk '
    /^[[:space:]]*DLL Name:/ { dll = tolower($3); inside = 1; next }
    inside && /^[[:space:]]*vma:/ { next }
    inside && NF == 0 { inside = 0; next }
    inside && NF >= 3 {
      name = $3
      if (name == "<none>") name = "#" ($2 + 0)
      print dll "!" name
    }' | sort -u
}

status=0
allowed=$(entries "$allow")

if [ -n "$ref" ]; then
  # msvcrt functions on the list must exist in the msvcrt.dll of every target.
  common=$(sort -u "$ref/msvcrt.nt4.txt")
  for sys in win98fe win98se win2k; do
    common=$(comm -12 <(printf '%s\n' "$common") <(sort -u "$ref/msvcrt.$sys.txt"))
  done
  missing=$(printf '%s\n' "$allowed" | grep '^msvcrt\.dll!' | sed 's/^msvcrt\.dll!//' |
    comm -23 - <(printf '%s\n' "$common") || true)
  for f in $missing; do
    echo "FAIL allow-list: msvcrt.dll!$f is missing from the msvcrt.dll of NT 4, 98 or 2000"
    status=1
  done
fi

for file in "${files[@]}"; do
  [ -r "$file" ] || { echo "FAIL $file: no such file"; status=1; continue; }
  found=$(imports "$file")
  if [ -z "$found" ]; then
    echo "FAIL $file: no import table (not a Windows program?)"
    status=1
    continue
  fi
  [ $list -eq 1 ] && printf '%s\n' "$found" | sed "s|^|  |"
  bad=$(comm -23 <(printf '%s\n' "$found") <(printf '%s\n' "$allowed"))
  for imp in $bad; do
    echo "FAIL $(basename "$file"): imports $imp, which is not on the allow-list"
    status=1
  done
  if [ -n "$ref" ] && [ -r "$ref/denylist.txt" ]; then
    awk '!/^#/ && NF >= 2 { print tolower(substr($1, 1, index($1, "!") - 1)) "!" substr($1, index($1, "!") + 1) "\t" $2 }' \
      "$ref/denylist.txt" | sort -u | join -t "$(printf '\t')" <(printf '%s\n' "$found") - |
      while IFS="$(printf '\t')" read -r imp since; do
        echo "WARNING $(basename "$file"): imports $imp (denylist: $since)"
      done
  fi
  count=$(printf '%s\n' "$found" | wc -l)
  dlls=$(printf '%s\n' "$found" | cut -d'!' -f1 | sort -u | tr '\n' ' ')
  echo "$(basename "$file"): $count imports from ${dlls% }"
done
[ $status -eq 0 ] && echo "import audit passed" || echo "import audit FAILED"
exit $status
