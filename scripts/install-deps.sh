#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Celestrix needs.
# xfonts-base gives Xvfb the core fonts that SDL's X11 message boxes need, so the tests see real boxes.
# Idempotent: packages already present are skipped by apt; run as root (or through sudo).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libepoxy-dev libgl-dev libegl-dev libglm-dev libassimp-dev
  libpng-dev libjpeg-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-terminus
  qt6-base-dev qt6-qpa-plugins
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libgl1-mesa-dri libegl1 libegl-mesa0 mesa-utils xdotool
  xfonts-base
  python3 python3-erfa liberfa-dev locales
  desktop-file-utils appstream dpkg-dev file binutils man-db groff-base lintian
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A decimal-comma locale, so that the tests can show that files are written and read the same
# way whatever the user's locale is.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
