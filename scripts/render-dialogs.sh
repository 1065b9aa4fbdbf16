#!/usr/bin/env bash
# Builds the dialog renderer and draws the message dialogs, the input box and
# the About box to shots/*.png (or the directory given as argument).
# BUILD_DIR picks the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
grep -qx BUILD_TESTING:BOOL=ON "$build/CMakeCache.txt" 2>/dev/null || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" -j2 --target render_dialogs render_file_dialog render_help >/dev/null
out="${1:-shots}"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s '-screen 0 1280x1024x24' "$build/bin/render_dialogs" "$out"
  xvfb-run -a -s '-screen 0 1280x1024x24' "$build/bin/render_file_dialog" "$out"
  xvfb-run -a -s '-screen 0 1280x1024x24' "$build/bin/render_help" "$out"
else
  QT_QPA_PLATFORM=offscreen "$build/bin/render_dialogs" "$out"
  QT_QPA_PLATFORM=offscreen "$build/bin/render_file_dialog" "$out"
  QT_QPA_PLATFORM=offscreen "$build/bin/render_help" "$out"
fi
