#!/usr/bin/env bash
# Builds Sporvik and renders the main window in its states to shots/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
make --no-print-directory build >/dev/null
build/bin/render_main_window shots
