#!/usr/bin/env bash
# Configures and builds Celestrix into build/ (Ninja, RelWithDebInfo). Extra arguments go to CMake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# Developers and CI keep warnings at zero: here they are errors.
cmake -S "$root" -B "$root/build" -G Ninja -DCELESTRIX_WERROR=ON "$@" >/dev/null
cmake --build "$root/build"
