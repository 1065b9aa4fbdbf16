#!/usr/bin/env bash
# A checkout copied with its build folder: every make target that builds,
# installs or packages must stop with a message before it does anything,
# while the same targets go ahead in a folder configured in place. The
# package installer, cmake, ctest and cpack are stand-ins that only log.
#   check-foreign-build.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
checkout=$scratch/copy
mkdir -p "$checkout/scripts" "$scratch/bin" "$scratch/original"
cp "$source_dir/Makefile" "$checkout/"
cp "$source_dir/scripts/check-build-dir.sh" "$checkout/scripts/"
log=$scratch/log
printf 'echo "$(basename "$0") $*" >>%q\n' "$log" >"$checkout/scripts/install-deps.sh"
for tool in cmake ctest cpack; do
  cp "$checkout/scripts/install-deps.sh" "$scratch/bin/$tool"
  chmod +x "$scratch/bin/$tool"
done
export PATH=$scratch/bin:$PATH

configured_in() { # the cache CMake leaves in a build folder configured in $1
  mkdir -p "$checkout/$2"
  printf 'CMAKE_HOME_DIRECTORY:INTERNAL=%s\nCMAKE_CACHEFILE_DIR:INTERNAL=%s/%s\n' \
    "$1" "$1" "$2" >"$checkout/$2/CMakeCache.txt"
  touch "$checkout/$2/build.ninja"
}

failed=0
targets="run build test test-package install package bench test-sanitize fuzz"
configured_in "$scratch/original" build
configured_in "$scratch/original" build-asan
configured_in "$scratch/original" build-fuzz
for target in $targets; do
  : >"$log"
  message=$(make -C "$checkout" --no-print-directory "$target" 2>&1) &&
    { echo "make $target went ahead in a foreign build folder"; failed=1; }
  grep -q "configured in another folder" <<<"$message" ||
    { echo "make $target: no clear message: $message"; failed=1; }
  [ -s "$log" ] && { echo "make $target did something first: $(cat "$log")"; failed=1; }
done

configured_in "$checkout" build
configured_in "$checkout" build-asan
configured_in "$checkout" build-fuzz
for target in $targets; do
  : >"$log"
  make -C "$checkout" --no-print-directory "$target" >/dev/null 2>&1
  grep -q "^install-deps.sh" "$log" ||
    { echo "make $target stopped in its own build folder"; failed=1; }
done

[ $failed -eq 0 ] && echo "foreign build folder: OK"
exit $failed
