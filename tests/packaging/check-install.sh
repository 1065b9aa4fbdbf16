#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what an installed
# Sporvik consists of; the desktop entry and the AppStream file must pass
# their validators.   check-install.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null

expected="bin/Sporvik
bin/sporvik-extract
share/applications/org.example.Sporvik.desktop
share/bash-completion/completions/sporvik-extract
share/doc/sporvik/changelog.gz
share/doc/sporvik/copyright
share/icons/hicolor/128x128/apps/org.example.Sporvik.png
share/icons/hicolor/16x16/apps/org.example.Sporvik.png
share/icons/hicolor/22x22/apps/org.example.Sporvik.png
share/icons/hicolor/24x24/apps/org.example.Sporvik.png
share/icons/hicolor/256x256/apps/org.example.Sporvik.png
share/icons/hicolor/32x32/apps/org.example.Sporvik.png
share/icons/hicolor/48x48/apps/org.example.Sporvik.png
share/icons/hicolor/64x64/apps/org.example.Sporvik.png
share/icons/hicolor/scalable/apps/org.example.Sporvik.svg
share/man/man1/Sporvik.1.gz
share/man/man1/sporvik-extract.1.gz
share/metainfo/org.example.Sporvik.metainfo.xml
share/sporvik/SporvikU.HLP"
actual=$(cd "$root/usr" && find . -type f ! -name '*.bmp' | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$(echo "$expected" | LC_ALL=C sort)" ]; then
  echo "installed files differ:"; diff <(echo "$expected" | LC_ALL=C sort) <(echo "$actual")
  exit 1
fi
samples=$(find "$root/usr/share/sporvik" -name '*.bmp' | wc -l)
[ "$samples" -ge 50 ] || { echo "only $samples sample glyphs installed"; exit 1; }

for size in 16 22 24 32 48 64 128 256; do
  file "$root/usr/share/icons/hicolor/${size}x${size}/apps/org.example.Sporvik.png" \
    | grep -q "$size x $size" || { echo "icon ${size}x${size} has another size"; exit 1; }
done
desktop=$root/usr/share/applications/org.example.Sporvik.desktop
desktop-file-validate "$desktop"
# It opens bitmaps; folders belong to the file manager.
mime=$(sed -n 's/^MimeType=//p' "$desktop")
[[ ";$mime" == *";image/bmp;"* && ";$mime" != *";inode/"* ]] ||
  { echo "desktop entry claims: $mime"; exit 1; }
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.Sporvik.metainfo.xml" >/dev/null
"$root/usr/bin/Sporvik" --version | grep -q '^Sporvik [0-9]'
"$root/usr/bin/sporvik-extract" --version >/dev/null
echo "install tree: OK"
