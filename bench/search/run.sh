#!/usr/bin/env bash
# The MP3 search's walk against `find` on the same generated tree, warm cache.
# Usage: bench/search/run.sh <build folder>. Prints "name value unit" lines:
#   search_walk_ms   ScanFolder over ~100,000 files in ~5,000 folders (median, in-process time)
#   search_find_ms   find TREE -type f -iname '*.mp3' on the same tree (median, whole process)
#   search_vs_find   the two divided (target: at most 1.0)
# TUNARA_BENCH_RUNS sets the number of timed runs of each (default 9).
set -euo pipefail

build="$(cd "${1:-build}" && pwd)"
bench="$build/bench/search/bench_search_walk"
[ -x "$bench" ] || { echo "search bench: $bench is missing; build it first" >&2; exit 1; }

runs="${TUNARA_BENCH_RUNS:-9}"
source "$(dirname "${BASH_SOURCE[0]}")/../common.sh"
tree="$work/tree"
"$bench" generate "$tree" 2>/dev/null


# Warm the cache with one run of each before timing.
find "$tree" -type f -iname '*.mp3' >/dev/null
"$bench" walk "$tree" love 1 >/dev/null 2>&1

walk_ms="$("$bench" walk "$tree" love "$runs" 2>/dev/null | median)"
find_ms="$(for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    find "$tree" -type f -iname '*.mp3' >/dev/null
    end=$(date +%s%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f\n", (b - a) / 1e6 }'
done | median)"

echo "search_walk_ms $walk_ms ms"
echo "search_find_ms $find_ms ms"
awk -v w="$walk_ms" -v f="$find_ms" 'BEGIN { printf "search_vs_find %.3f ratio\n", w / f }'
