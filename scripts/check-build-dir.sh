#!/usr/bin/env bash
# Stops unless the build folder DIR belongs to this checkout. A checkout
# copied with its build folder brings a CMake cache that names the folders it
# was made in, and CMake, Ninja and CPack would go on building, installing
# and packaging there. A folder not configured yet passes.
#
#   scripts/check-build-dir.sh DIR     (run from the checkout's top folder)
set -euo pipefail
dir=$1
cache=$dir/CMakeCache.txt
[ -f "$cache" ] || exit 0

cached() { sed -n "s/^$1:INTERNAL=//p" "$cache"; }
same_folder() { [ -d "$1" ] && [ "$(cd "$1" && pwd -P)" = "$(cd "$2" && pwd -P)" ]; }

source_dir=$(cached CMAKE_HOME_DIRECTORY)
build_dir=$(cached CMAKE_CACHEFILE_DIR)
if same_folder "$source_dir" . && same_folder "$build_dir" "$dir"; then
  exit 0
fi
cat >&2 <<EOF
$dir/ was configured in another folder (sources $source_dir, build $build_dir);
using it would build, install or package there. Remove it (rm -rf $dir)
and run make again.
EOF
exit 1
