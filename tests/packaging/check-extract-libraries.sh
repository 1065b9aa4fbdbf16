#!/usr/bin/env bash
# sporvik-extract has no window: of Qt it links Core alone, so its start-up
# loads none of Qt's GUI libraries (nor what they pull in: X, fonts, D-Bus).
#
#   check-extract-libraries.sh PROGRAM
set -euo pipefail
libraries=$(ldd "$1")
grep -q 'libc\.so' <<<"$libraries" || { echo "ldd listed nothing for $1" >&2; exit 1; }
if grep -E 'libQt6(Gui|Widgets|DBus)|libX11|libfontconfig' <<<"$libraries"; then
  echo "$1 links a library of the window system" >&2
  exit 1
fi
