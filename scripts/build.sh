#!/usr/bin/env bash
# Configures and builds Celestrix into build/ (Ninja, RelWithDebInfo). Extra arguments go to CMake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build" -G Ninja "$@" >/dev/null
cmake --build "$root/build"
