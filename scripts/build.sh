#!/usr/bin/env bash
# Installs what is missing, then configures and builds everything into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORRIK_BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja
fi
cmake --build "$build" -j "$(nproc)"
