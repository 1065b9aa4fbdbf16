#!/usr/bin/env bash
# Installs the Debian 12 packages one or more purposes need, skipping those
# already installed; each make target names the purposes it has (see the
# README), so `make run` never waits for a test tool.
#
#   scripts/install-deps.sh PURPOSE...
set -euo pipefail

declare -A needs=(
  # Building and running the program: `make run`, `make install`, the build
  # of `make package`. qt6-base-dev brings Qt's window-system plugins and
  # the OpenGL headers its CMake files ask for; the fonts are the faces the
  # designed fonts map to, and a fallback.
  [build]="build-essential cmake ninja-build pkg-config qt6-base-dev zlib1g-dev libssl-dev
           fonts-liberation2 fonts-dejavu-core"
  # `make test`: the test and benchmark libraries, libfiu for the injected
  # faults, bash-completion for the completion's test, icoutils (wrestool,
  # icotool) to hold the icons and cursors written against, python3 for the
  # check that the source folders stay layers. The sanitizer build needs
  # nothing more: GCC brings its own sanitizer runtimes.
  [test]="libgtest-dev libbenchmark-dev libfiu-dev fiu-utils bash-completion icoutils
          python3"
  # `make package`: dpkg-shlibdeps finds the libraries the binaries link.
  [package]="dpkg-dev file"
  # `make test-package`: the validators the install and package checks run.
  [package-checks]="dpkg-dev file lintian desktop-file-utils appstream"
  # `make fuzz`: clang's libFuzzer.
  [fuzz]="clang-14 libclang-rt-14-dev"
  # `make bench`: the peer the extraction is timed against.
  [bench]="foremost"
  # scripts/render-*.sh: a screen to draw on and a window manager.
  [screenshots]="xvfb xauth openbox x11-utils xdotool"
  # scripts/valgrind-bmpsuite.sh
  [valgrind]="valgrind"
)

if [ $# -eq 0 ]; then
  echo "usage: $0 PURPOSE...   (purposes: $(printf '%s\n' "${!needs[@]}" | sort | xargs))" >&2
  exit 2
fi

packages=()
for purpose in "$@"; do
  [ -n "${needs[$purpose]+set}" ] || { echo "$0: no purpose '$purpose'" >&2; exit 2; }
  read -ra listed <<<"${needs[$purpose]//$'\n'/ }"
  packages+=("${listed[@]}")
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing for $*: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
