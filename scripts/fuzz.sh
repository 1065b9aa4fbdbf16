#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (and AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for the given
# number of seconds (default 60). What a run learns stays in
# build-fuzz/corpus/<target>; an input that breaks a target is kept as
# build-fuzz/crashes/<target>-*, to be fixed and then added to
# fuzz/regressions/<target>/.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=${FUZZ_DIR:-build-fuzz}
targets=(GlyphButton ByteSearch Settings Paths PathLabel TextWrap PeResources NeResources ExtractScan)

if [ ! -f "$dir/build.ninja" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSPORVIK_FUZZ=ON || exit 1
fi
cmake --build "$dir" -j2 --target "${targets[@]/#/fuzz_}" || exit 1

failed=()
for t in "${targets[@]}"; do
  mkdir -p "$dir/corpus/$t" "$dir/crashes"
  seeds=(fuzz/corpus/"$t")
  [ -d "fuzz/regressions/$t" ] && seeds+=("fuzz/regressions/$t")
  echo "== $t: ${seconds} s"
  QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
    "$dir/bin/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$dir/crashes/$t-" "$dir/corpus/$t" "${seeds[@]}" >"$dir/$t.log" 2>&1
  status=$?
  grep -E 'stat::number_of_executed_units|broken promise|ERROR: ' "$dir/$t.log"
  [ $status -eq 0 ] || failed+=("$t")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing broke: ${failed[*]} (inputs in $dir/crashes/, logs in $dir/<target>.log)"
  exit 1
fi
