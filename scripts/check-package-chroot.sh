#!/usr/bin/env bash
# Installs the Debian package built from build/ into a minimal Debian 12 made with debootstrap,
# where apt brings in exactly the package's dependencies, and runs the installed programs there:
# the versions, a simulation-only run and an offscreen-drawn run with a snapshot, both on a
# user's copy of the installed data. Needs root and the network (about 2 minutes); the unit
# tests check the package without either. Usage: scripts/check-package-chroot.sh [CHROOT_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ "$(id -u)" -eq 0 ] || { echo "check-package-chroot: run as root" >&2; exit 1; }
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap

work="$(mktemp -d /tmp/celestrix_chroot_XXXXXX)"
trap 'rm -rf "$work"' EXIT
(cd "$root/build" && cpack --config CPackConfig.cmake -B "$work/out" >/dev/null)
deb="$(ls "$work"/out/celestrix_*.deb)"

target="${1:-$work/debian}"
if [ ! -x "$target/usr/bin/apt-get" ]; then
  # The same Debian mirror as this machine's apt sources.
  mirror="$(sed -n 's/^URIs:[[:space:]]*//p; s/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\).*/\2/p' \
            /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null | grep -m1 '/debian$' || true)"
  [ -n "$mirror" ] || { echo "check-package-chroot: no Debian mirror in the apt sources" >&2; exit 1; }
  debootstrap --variant=minbase bookworm "$target" "$mirror" >"$work/debootstrap.log"
fi
cp "$deb" "$target/tmp/celestrix.deb"
chroot "$target" /bin/sh -c 'apt-get update -q >/dev/null &&
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends /tmp/celestrix.deb' \
  >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; exit 1; }
grep "newly installed" "$work/install.log"

chroot "$target" /bin/sh -eu -c '
  corvane --version | head -n 1
  if [ -x /usr/bin/celestrix ]; then QT_QPA_PLATFORM=offscreen celestrix --version | head -n 1; fi
  home=$(mktemp -d)
  data="$home/.local/share/celestrix/"
  mkdir -p "$home/.local/share"
  cp -a /usr/share/celestrix "$data"
  cd "$data"
  XDG_RUNTIME_DIR="$home" corvane --no-render --fixed-dt 0.05 --frames 40 "$data|1"
  echo "simulation-only run: mission time $(cat time.cfg) s saved"
  printf "2 key F7 down\n3 key F7 up\n" > "$home/script.txt"
  SDL_VIDEODRIVER=offscreen XDG_RUNTIME_DIR="$home" corvane --headless --windowed --size 800x450 \
    --fixed-dt 0.02 --frames 6 --input "$home/script.txt" "$data|1"
  ls "$data/Screenshots/"*/*.bmp >/dev/null
  echo "offscreen run: snapshot stored"
  rm -rf "$home"
'
echo "check-package-chroot: $(basename "$deb") works on a minimal Debian with its dependencies"
