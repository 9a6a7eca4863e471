#!/usr/bin/env bash
# Builds the libFuzzer target of the conversion core and runs it.
#
#   tests/fuzz/run_fuzz.sh [SECONDS]      (default 60; `make fuzz` calls it)
#
# Build: clang++ with -fsanitize=fuzzer,address,undefined into build-fuzz/,
# rebuilt when a source is newer than the binary. Corpus: build-fuzz/corpus
# keeps what earlier runs learned; the committed seeds (tests/fuzz/seeds), the
# inputs of past findings (tests/fuzz/regressions), the samples and the golden
# reports are read as further corpus directories. One process, one worker.
#
# Every run is logged in build-fuzz/history.log (date, seconds, executions);
# the script prints the total so far. A finding stops the run with a non-zero
# exit code; the input is left in build-fuzz/artifacts/ and the script prints
# how to replay it.
#
# Environment: FUZZ_MAX_LEN (default 16384); CXX_FUZZ (default clang++);
# FUZZ_FAST=1 builds without AddressSanitizer (build-fuzz/fuzz_convert_fast):
# large buffers make every execution under it costly, so long runs explore
# with the fast build and then replay the whole corpus once under
# AddressSanitizer, which this script does at the end of a fast run.
set -euo pipefail

seconds=${1:-60}
build_only=0
if [[ $seconds == --build-only ]]; then
  build_only=1
  seconds=1
fi
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds == 0)); then
  echo "usage: $0 [SECONDS]" >&2
  exit 2
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
out=build-fuzz
mkdir -p "$out/corpus" "$out/artifacts"

cxx=${CXX_FUZZ:-clang++}
# The core is built with coverage feedback; the target's own checks are not,
# so the fuzzer steers by the converter's branches alone (and runs faster).
sanitizers=address,undefined
binary=$out/fuzz_convert
if [[ ${FUZZ_FAST:-0} == 1 ]]; then
  sanitizers=undefined
  binary=$out/fuzz_convert_fast
fi
core=(src/*.cpp src/report/*.cpp src/walk/*.cpp src/html/*.cpp src/export/*.cpp src/compare/*.cpp src/fleet/*.cpp)
rebuild=0
[[ -x $binary ]] || rebuild=1
for file in tests/fuzz/fuzz_convert.cpp "${core[@]}" src/report/*.h src/walk/*.h src/html/*.h src/export/*.h src/compare/*.h src/fleet/*.h include/rptconv/*.h; do
  [[ $file -nt $binary ]] && rebuild=1
done
if ((rebuild)); then
  echo "Building $binary"
  flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fno-sanitize-recover=all
         -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Werror -I src -I include -I tests)
  objects=$out/obj-$(basename "$binary")
  rm -rf "$objects"
  mkdir -p "$objects"
  for file in "${core[@]}"; do
    "$cxx" "${flags[@]}" -fsanitize="fuzzer-no-link,$sanitizers" -c "$file" \
      -o "$objects/$(basename "$(dirname "$file")")_$(basename "$file" .cpp).o"
  done
  "$cxx" "${flags[@]}" -fsanitize="$sanitizers" -c tests/fuzz/fuzz_convert.cpp -o "$objects/fuzz_convert.o"
  "$cxx" -fsanitize="fuzzer,$sanitizers" "$objects"/*.o -o "$binary.new"
  mv "$binary.new" "$binary"
fi
((build_only)) && exit 0

# The samples are copied and the golden reports written out under stable
# names, so a missing sample changes nothing.
extern=$out/extern-seeds
rm -rf "$extern"
mkdir -p "$extern"
shopt -s nullglob
for file in samples/*.csv; do
  cp "$file" "$extern/sample-$(basename "$file")"
done
shopt -u nullglob
python3 tests/golden/run_golden.py tests/golden/pages.cases --write-reports "$extern"
corpora=("$out/corpus" tests/fuzz/seeds "$extern")
[[ -d tests/fuzz/regressions ]] && corpora+=(tests/fuzz/regressions)

log=$out/last-run.log
echo "Fuzzing for $seconds s (log: $log)"
set +e
# Without AddressSanitizer, keep glibc from mapping and faulting in the
# converter's large buffers afresh on every execution.
GLIBC_TUNABLES=glibc.malloc.mmap_threshold=4194304:glibc.malloc.trim_threshold=268435456 \
"$binary" -max_total_time="$seconds" -max_len="${FUZZ_MAX_LEN:-16384}" -timeout=10 -rss_limit_mb=2048 \
  -dict=tests/fuzz/convert.dict -artifact_prefix="$out/artifacts/" -print_final_stats=1 \
  "${corpora[@]}" >"$log" 2>&1
status=$?
set -e

execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
elapsed=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
[[ -n $execs ]] || execs=$(sed -n 's/.*#\([0-9]*\).*exec\/s.*/\1/p' "$log" | tail -1)
[[ -n $elapsed ]] || elapsed=$seconds
printf '%s %s %s %s %s\n' "$(date -u +%Y-%m-%dT%H:%M:%SZ)" "${elapsed}" "${execs:-0}" \
  "$([[ $status -eq 0 ]] && echo clean || echo FINDING)" "$(basename "$binary")" >>"$out/history.log"
grep -E '^(#[0-9]+ *DONE|stat::)' "$log" || tail -3 "$log"
awk '{s += $2; e += $3} END {printf "Fuzzed in total: %d s, %d executions, in %d runs\n", s, e, NR}' \
  "$out/history.log"

if ((status != 0)); then
  grep -E 'broken invariant|ERROR: |SUMMARY|expected:|actual:|Test unit written' "$log" | head -20 >&2
  echo "FINDING: see $log; replay with: $binary ARTIFACT" >&2
  echo "then keep the input in tests/fuzz/regressions/ once fixed" >&2
  exit 1
fi

if [[ $binary == *_fast ]]; then
  # What the fast run found, checked once more for memory errors.
  FUZZ_FAST=0 bash "$0" --build-only
  echo "Replaying the corpus under AddressSanitizer"
  if ! "$out/fuzz_convert" -runs=0 -max_len="${FUZZ_MAX_LEN:-16384}" "${corpora[@]}" >"$out/replay.log" 2>&1; then
    grep -E 'broken invariant|ERROR: |SUMMARY|expected:|actual:|Test unit written' "$out/replay.log" | head -20 >&2
    echo "FINDING in the AddressSanitizer replay: see $out/replay.log" >&2
    exit 1
  fi
fi
echo "No finding"
