#!/usr/bin/env bash
# Installs what is missing, builds, prepares the user's data directory on first run and starts
# the simulator alone, in a window in live mode, on the configuration last saved by the launcher.
# Extra arguments go to corvane before the data argument.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

data="${CELESTRIX_DATA_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/celestrix}"
if [ ! -f "$data/configfile.cfg" ]; then
  mkdir -p "$data"
  cp -an "$root/data/." "$data/"
  echo "Created the data directory $data"
fi
data="$(cd "$data" && pwd)/"
cd "$data"
exec "$root/build/corvane" --windowed --size 1280x720 "$@" "${data}|1"
