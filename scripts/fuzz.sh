#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs them.
#   bash scripts/fuzz.sh                  every target for 10 s, each from its seeds alone
#   bash scripts/fuzz.sh NAME [SECONDS]   one target (tests/fuzz/NAME.cpp) for SECONDS (600),
#                                         growing its corpus in build/fuzz/corpus/NAME
# Any finding (crash, sanitizer report, leak, broken invariant) fails the run; the input
# that caused it is kept in build/fuzz/findings/NAME/. The repository is never written.
set -euo pipefail
cd "$(dirname "$0")/.."
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$PWD
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
# The targets write files on every input: memory-backed scratch space keeps them fast,
# and a folder of the run's own is removed even when a target was killed.
scratch_parent=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch_parent=/dev/shm; fi
TMPDIR=$(mktemp -d "$scratch_parent"/vantrel-fuzz.XXXXXX)
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# run NAME SECONDS CORPUS: new inputs go to CORPUS, the seeds are only read.
run() {
  local name=$1 seconds=$2 corpus=$3 findings=build/fuzz/findings/$1
  local args=(-max_total_time="$seconds" -timeout=20 -print_final_stats=1)
  mkdir -p "$corpus" "$findings"
  if [ -f tests/fuzz/"$name".dict ]; then args+=(-dict=tests/fuzz/"$name".dict); fi
  # Seeds: tests/fuzz/corpus/NAME/ and the repository files tests/fuzz/NAME.seeds lists.
  local seeds=("$corpus")
  [ -d tests/fuzz/corpus/"$name" ] && seeds+=(tests/fuzz/corpus/"$name")
  if [ -f tests/fuzz/"$name".seeds ]; then
    local listed=$TMPDIR/seeds-$name i=0 file
    mkdir -p "$listed"
    while IFS= read -r file; do
      cp "$file" "$listed/$((i++))"
    done <tests/fuzz/"$name".seeds
    seeds+=("$listed")
  fi
  echo "== fuzz_$name, $seconds s"
  build/fuzz/fuzz_"$name" "${args[@]}" -artifact_prefix="$findings"/ "${seeds[@]}"
}

if [ $# -gt 0 ]; then
  [ -f tests/fuzz/"$1".cpp ] || { echo "no fuzz target $1 (tests/fuzz/*.cpp)" >&2; exit 2; }
  run "$1" "${2:-600}" build/fuzz/corpus/"$1"
  exit
fi
failed=()
for src in tests/fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  rm -rf build/fuzz/brief/"$name"
  run "$name" 10 build/fuzz/brief/"$name" 2>build/fuzz/brief-"$name".log ||
    { failed+=("$name"); tail -n 60 build/fuzz/brief-"$name".log >&2; }
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]} (inputs in build/fuzz/findings/)" >&2
  exit 1
fi
echo "Fuzzing: every target ran clean"
