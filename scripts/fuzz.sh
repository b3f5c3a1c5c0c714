#!/usr/bin/env bash
# Builds every fuzz target with clang (libFuzzer, ASan, UBSan) and runs each for a while.
#   FUZZ_SECONDS  how long each target runs (default 60)
#   BUILD_FUZZ    build folder (default build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-60}"
build="${BUILD_FUZZ:-build-fuzz}"

need=()
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTUNARA_BUILD_FUZZ=ON -DTUNARA_BUILD_TESTS=OFF -DTUNARA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target $(sed -n 's/^add_executable(\([a-z0-9_]*_fuzz\).*/\1/p' fuzz/*/CMakeLists.txt)

for target in $(sed -n 's/^add_executable(\([a-z0-9_]*_fuzz\).*/\1/p' fuzz/*/CMakeLists.txt); do
    binary=$(find "$build" -type f -name "$target" -perm -u+x | head -n 1)
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "== $target ($seconds s)"
    "$binary" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>&1 | tail -n 5
done
