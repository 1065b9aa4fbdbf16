#!/usr/bin/env bash
# Builds the file-command renderer and draws the rename, overwrite and delete
# dialogs and the page left with gaps to shots/*.png (or the directory given
# as argument). It works on copies of the sample glyphs in a temp directory.
# BUILD_DIR picks the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
grep -qx BUILD_TESTING:BOOL=ON "$build/CMakeCache.txt" 2>/dev/null || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" -j2 --target render_file_commands sample_glyphs >/dev/null
out="${1:-shots}"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s '-screen 0 1280x1024x24' "$build/bin/render_file_commands" "$out"
else
  QT_QPA_PLATFORM=offscreen "$build/bin/render_file_commands" "$out"
fi
