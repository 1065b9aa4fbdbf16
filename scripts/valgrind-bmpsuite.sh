#!/usr/bin/env bash
# Every file of the BMP test suite (tests/data/bmpsuite) loaded as a glyph and
# painted on a speed button in its four looks, under valgrind's memcheck.
# Fails when any pixel or decision comes from memory that was never set
# (or on any other memory error); the full log is kept in the build folder.
#
#   scripts/valgrind-bmpsuite.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
command -v valgrind >/dev/null || { echo "valgrind is missing (Debian package valgrind)"; exit 2; }
grep -qx BUILD_TESTING:BOOL=ON "$build/CMakeCache.txt" 2>/dev/null || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build "$build" --target sporvik_tests_platform_ui -j2 >/dev/null

log="$build/valgrind-bmpsuite.log"
status=0
QT_QPA_PLATFORM=offscreen valgrind --tool=memcheck --leak-check=no --track-origins=yes \
  --error-exitcode=3 --log-file="$log" \
  "$build/bin/sporvik_tests_platform_ui" --gtest_filter='BmpSuite.*:BitmapFile.*' || status=$?

uninitialised=$(grep -c -i "uninitialised" "$log" || true)
grep -E "ERROR SUMMARY" "$log" | sed 's/^==[0-9]*== //'
echo "reports of uninitialised memory: $uninitialised (log: $log)"
if [ "$status" -ne 0 ] || [ "$uninitialised" -ne 0 ]; then
  echo "FAILED"
  exit 1
fi
echo "passed"
