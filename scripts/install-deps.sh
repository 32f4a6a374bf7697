#!/usr/bin/env bash
# Installs the Debian packages DALVEX needs to build, test and run, when missing.
set -euo pipefail

packages=(
  build-essential cmake ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-svg-dev libgl-dev
  libgtest-dev libbenchmark-dev libboost-math-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
