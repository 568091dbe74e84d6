#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Celestrix needs.
# Idempotent: packages already present are skipped by apt; run as root (or through sudo).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libepoxy-dev libgl-dev libegl-dev libglm-dev libassimp-dev
  libpng-dev libjpeg-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  qt6-base-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libgl1-mesa-dri libegl1 libegl-mesa0 mesa-utils
  python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
