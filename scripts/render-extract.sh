#!/usr/bin/env bash
# Builds Sporvik and renders (under Xvfb when it is installed) the extract command: the scan under way, the overwrite question and the carved glyphs, to shots/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
make --no-print-directory build >/dev/null
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s '-screen 0 1280x1024x24' build/bin/render_extract shots
else
  QT_QPA_PLATFORM=offscreen build/bin/render_extract shots
fi
