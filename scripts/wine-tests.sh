#!/usr/bin/env bash
# Runs the 64-bit Windows build under Wine, once as each of Windows 98, NT 4 and 2000:
#   scripts/wine-tests.sh [BUILD_DIR]        (default build/win64)
# For each version, on a fresh prefix seeded with the matching sample machine
# (scripts/wine-prefix.sh):
#   1. the Windows test program (vantrel_win_tests.exe);
#   2. vtl.exe /hidden /load tests/wine/VERSION.vtl /apply /export REPORT, unattended,
#      then every registry value and report line in tests/wine/VERSION.expect;
#   3. vtl.exe /hidden /reboot runs VANTREL_POWER_COMMAND instead of restarting.
# VANTREL_WINE_VERSIONS narrows the versions. Ends with "N passed, N failed".
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build/win64}" && pwd) || exit 2
versions=${VANTREL_WINE_VERSIONS:-win98 nt40 win2k}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for program in vtl.exe vantrel_win_tests.exe; do
  [ -f "$build/$program" ] || { echo "wine-tests: $build/$program is missing" >&2; exit 2; }
done

# Wine's window driver wants an X display, even for windows nobody sees.
xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x16 3>"$fifo" 2>/dev/null &
  xvfb_pid=$!
  read -r -t 30 display <"$fifo" || { echo "wine-tests: Xvfb did not start" >&2; exit 2; }
  rm -f "$fifo"
  export DISPLAY=:$display
fi
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

passed=0
failed=0
result() {
  if [ "$2" -eq 0 ]; then
    echo "PASS $1"
    passed=$((passed + 1))
  else
    echo "FAIL $1"
    failed=$((failed + 1))
  fi
}

# The data of one value as "reg query" shows it, after its type and a tab.
reg_value() {
  local key=$1 name=$2 shown option out line rest
  if [ "$name" = "@" ]; then
    shown="(Default)"
    option=(/ve)
  else
    shown=$name
    option=(/v "$name")
  fi
  out=$(wine reg query "$key" "${option[@]}" 2>/dev/null | tr -d '\r') || return 1
  line=$(printf '%s\n' "$out" | grep -F -m1 "    $shown    ") || return 1
  rest=${line#"    $shown    "}
  if [[ $rest == *"    "* ]]; then
    printf '%s\t%s\n' "${rest%%    *}" "${rest#*    }"
  else
    printf '%s\t\n' "$rest"
  fi
}

# A REG_MULTI_SZ value as its strings joined by "\0", whether or not the data
# ends with the closing NULs ("reg query" cuts a character where they are missing).
multi_sz() {
  local key=$1 name=$2 file=C:\\vtltest\\export.reg
  rm -f "$WINEPREFIX/drive_c/vtltest/export.reg"
  wine reg export "$key" "$file" /y >/dev/null 2>&1 || return 1
  iconv -f UTF-16LE -t UTF-8 "$WINEPREFIX/drive_c/vtltest/export.reg" | tr -d '\r' |
    sed -e ':a' -e '/\\$/N; s/\\\n *//; ta' |
    awk -v want="\"$name\"=hex(7):" -v hex=0123456789abcdef '
      index(tolower($0), tolower(want)) == 1 {
        n = split(substr($0, length(want) + 1), b, ",")
        text = ""
        for (i = 1; i + 1 <= n; i += 2) {
          c = b[i]; hi = b[i + 1]
          v = 16 * (index(hex, substr(c, 1, 1)) - 1) + index(hex, substr(c, 2, 1)) - 1
          text = text ((c == "00" && hi == "00") ? "\x01" : sprintf("%c", v))
        }
        sub(/\x01+$/, "", text)
        gsub(/\x01/, "\\0", text)
        printf "REG_MULTI_SZ\t%s\n", text
        found = 1
      }
      END { exit !found }'
}

# Applies tests/wine/VERSION.vtl and checks the registry and the report.
end_to_end() {
  local v=$1 work=$WINEPREFIX/drive_c/vtltest status=0 kind key name type data actual
  mkdir -p "$work"
  cp "$top/tests/wine/$v.vtl" "$work/"
  (cd "$work" && VANTREL_UNATTENDED=1 \
    VANTREL_POWER_COMMAND='cmd.exe /c echo>C:\vtltest\power.txt' \
    timeout 300 wine "$build/vtl.exe" /hidden /load "C:\\vtltest\\$v.vtl" /apply \
    /export 'C:\vtltest\report.txt' 2>"$work/messages.txt")
  local rc=$?
  if [ $rc -ne 0 ]; then
    echo "  vtl.exe exited with $rc; its messages:"
    sed 's/^/    /' "$work/messages.txt"
    status=1
  fi
  while IFS=$'\t' read -r kind key name type data; do
    case "$kind" in
      reg)
        if [ "$type" = REG_MULTI_SZ ]; then
          actual=$(multi_sz "$key" "$name") || actual="(absent)"
        else
          actual=$(reg_value "$key" "$name") || actual="(absent)"
        fi
        if [ "$actual" != "$type"$'\t'"$data" ]; then
          echo "  $key\\$name: expected $type [$data], found [${actual/$'\t'/ }]"
          status=1
        fi
        ;;
      report)
        if ! tr -d '\r' <"$work/report.txt" 2>/dev/null | grep -qxF "$key"; then
          echo "  the report lacks the line: $key"
          status=1
        fi
        ;;
    esac
  done < <(tr -d '\r' <"$top/tests/wine/$v.expect" | grep -v '^#')
  return $status
}

# A restart request runs VANTREL_POWER_COMMAND, never the real shutdown.
restart_request() {
  local work=$WINEPREFIX/drive_c/vtltest
  mkdir -p "$work"
  rm -f "$work/power.txt"
  (cd "$work" && VANTREL_UNATTENDED=1 \
    VANTREL_POWER_COMMAND='cmd.exe /c echo>C:\vtltest\power.txt' \
    timeout 300 wine "$build/vtl.exe" /hidden /reboot 2>"$work/reboot-messages.txt")
  if ! grep -q reboot "$work/power.txt" 2>/dev/null; then
    echo "  /reboot did not run the power command; messages:"
    sed 's/^/    /' "$work/reboot-messages.txt"
    return 1
  fi
}

for v in $versions; do
  echo "== Wine as $v"
  if ! prefix=$(bash "$top/scripts/wine-prefix.sh" "$v" "$build"); then
    result "$v: Wine prefix" 1
    continue
  fi
  export WINEPREFIX=$prefix
  (cd "$build" && timeout 900 wine vantrel_win_tests.exe --gtest_color=no)
  result "$v: Windows tests" $?
  end_to_end "$v"
  result "$v: load, apply and export with vtl.exe" $?
  restart_request
  result "$v: restart request" $?
  wineserver -k 2>/dev/null
done
echo "Wine: $passed passed, $failed failed"
[ $failed -eq 0 ]
