#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: native unit tests,
# Win32 tests and end-to-end tests under Wine. Extra arguments go to ctest
# (for example -R unit. or -R win.RaiseEvent).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORRIK_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"

# shellcheck source=wine-env.sh
. "$root/scripts/wine-env.sh"
started_xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  started_xvfb=$!
  read -r number <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$number"
fi
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$started_xvfb" ] && kill "$started_xvfb" 2>/dev/null || true
}
trap cleanup EXIT

vorrik_wine_env "$build"
# One wine server for the whole run instead of one per test, with Wine's own
# services started here: started by a test, they would keep its output pipe
# open and ctest would wait for them.
wineserver -p
wine wineboot </dev/null >/dev/null 2>&1
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
