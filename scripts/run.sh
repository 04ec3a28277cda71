#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program under Wine.
# With a display the program's windows appear on it. Without one it runs on a
# virtual display: each window it shows is saved as a screenshot under
# build/screenshots/ (the paths are printed), then its windows are closed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORRIK_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
# shellcheck source=wine-env.sh
. "$root/scripts/wine-env.sh"

# The program writes its skin engine beside itself once and never replaces
# it, so each run starts from a fresh folder with the engine just built.
rundir="$build/run"
rm -rf "$rundir" && mkdir -p "$rundir"
cp "$build/target/vorrik.exe" "$rundir/"
program="$rundir/vorrik.exe"

if [ -n "${DISPLAY:-}" ]; then
  vorrik_wine_env "$build"
  wine "$program" && code=0 || code=$?
  echo "vorrik.exe ended with exit code $code"
  exit 0
fi

fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"; rm -f "$fifo"
export DISPLAY=":$number"
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
vorrik_wine_env "$build"
wine wineboot </dev/null >/dev/null 2>&1

shots="$build/screenshots"
mkdir -p "$shots"
echo "No display: running on the virtual display $DISPLAY and saving screenshots."
count=0
# The probe starts the program, reports each window once it has painted, and
# closes the program's windows after a few quiet seconds.
while read -r kind handle x y w h class title; do
  title=${title%$'\r'}; handle=${handle%$'\r'}
  case "$kind" in
    window)
      count=$((count + 1))
      name=$(printf '%s' "$title" | xxd -r -p | iconv -f GBK -t UTF-8 2>/dev/null || echo "?")
      file="$shots/run-$count.png"
      import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$file"
      echo "window \"$name\" ($class, ${w}x${h}): $file"
      ;;
    exit) echo "vorrik.exe ended with exit code $handle";;
  esac
done < <(wine "$build/target/probe.exe" watch "$(winepath -w "$program")" 3)
