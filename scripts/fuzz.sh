#!/usr/bin/env bash
# Fuzzes the description-set reader with libFuzzer (clang, ASan, UBSan).
# Usage: scripts/fuzz.sh [SECONDS]   (default 600). Seeds are made from the
# real set that the build generates; findings land in build/fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORRIK_BUILD_DIR:-$root/build}
seconds=${1:-600}
bash "$root/scripts/setup.sh"
command -v clang++ >/dev/null || apt-get install -y -qq clang libclang-rt-dev >/dev/null
[ -f "$build/generated/description_set.bin" ] || bash "$root/scripts/build.sh"

out="$build/fuzz"; mkdir -p "$out/seeds" "$out/corpus"
sources=$(sed -n '/set(PORTABLE_SOURCES/,/)/p' "$root/cmake/sources.cmake" | grep -E '\.cpp' | sed "s|^ *|$root/|")
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" "$root/tests/fuzz/description_set_fuzzer.cpp" "$root/tests/fuzz/read_everything.cpp" \
  "$root/tests/unit/host_blocks.cpp" $sources \
  -o "$out/description_set_fuzzer" 2>&1 | grep -v 'warning: ' || true

# Seeds: the real set, each half of it, and a few cut copies.
set_file="$build/generated/description_set.bin"
size=$(stat -c %s "$set_file")
cp "$set_file" "$out/seeds/whole"
for cut in 4 20 64 512 $((size / 2)) $((size - 1)); do head -c "$cut" "$set_file" >"$out/seeds/cut-$cut"; done

cd "$out"
./description_set_fuzzer -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 corpus seeds 2>&1 | tail -25
