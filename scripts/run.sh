#!/usr/bin/env bash
# Installs what is missing, builds, and starts the launcher (the launch pad). On its first start
# the launcher makes the user's data directory from data/. Extra arguments go to celestrix
# (e.g. --data-dir DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "$root/build/celestrix" "$@"
