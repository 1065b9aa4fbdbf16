#!/usr/bin/env bash
# Installs the Debian 12 packages Sporvik needs to build, test and run, skipping
# whatever is already installed. Both `make run` and `make test` call it.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth
  foremost
  dpkg-dev file lintian desktop-file-utils appstream
  openbox x11-utils
  clang-14 libclang-rt-14-dev
  libfiu-dev fiu-utils
  valgrind
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
