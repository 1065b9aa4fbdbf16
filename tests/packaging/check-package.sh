#!/usr/bin/env bash
# Builds the Debian package into a scratch folder, unpacks it into a scratch
# root and checks its files and metadata; lintian must find no error.
#   check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/sporvik_*.deb)

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = sporvik ] || { echo "package name: $(field Package)"; exit 1; }
[ "$(field Section)" = graphics ] || { echo "section: $(field Section)"; exit 1; }
for dep in libqt6widgets6 libqt6gui6 libc6 qt6-qpa-plugins; do
  field Depends | grep -q "$dep" || { echo "no dependency on $dep: $(field Depends)"; exit 1; }
done
field Maintainer | grep -q '@' || { echo "no maintainer address"; exit 1; }

dpkg-deb -x "$deb" "$out/root"
for f in usr/bin/Sporvik usr/bin/sporvik-extract usr/share/sporvik/SporvikU.HLP \
         usr/share/applications/org.example.Sporvik.desktop \
         usr/share/metainfo/org.example.Sporvik.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/org.example.Sporvik.svg \
         usr/share/doc/sporvik/copyright usr/share/doc/sporvik/changelog.gz \
         usr/share/bash-completion/completions/sporvik-extract; do
  [ -f "$out/root/$f" ] || { echo "missing in the package: $f"; exit 1; }
done
if find "$out/root" -path '*/usr/local*' | grep -q .; then
  echo "the package installs into /usr/local"; exit 1
fi
lintian --fail-on error --suppress-tags binary-has-unneeded-section "$deb" 2>&1 \
  | grep -v 'running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || { echo "lintian reports errors"; exit 1; }
echo "package: OK"
