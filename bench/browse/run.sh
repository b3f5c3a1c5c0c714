#!/usr/bin/env bash
# The navigation pane and the playlist files with 32,767 songs, against `ls -f` on the same folder.
# Usage: bench/browse/run.sh <build folder>. Prints "name value unit" lines:
#   folder_fill_ms        Dir1_Change on a folder of 32,767 songs until List1 and TellerLabel are
#                         filled (median; target at most 100)
#   folder_ls_ms          `ls -f` on the same folder (median)
#   folder_fill_vs_ls     the two divided
#   add_all_ms            SelectieAllKnop with 32,767 songs (median; target at most 100)
#   playlist_save_ms      storing 32,767 entries (median; target at most 50)
#   playlist_load_ms      loading them (median; target at most 50)
#   rss_mb_full_playlist  resident memory of the program holding 32,767 entries
set -euo pipefail

build="$(cd "${1:-build}" && pwd)"
bench="$build/bench/browse/bench_browse"
[ -x "$bench" ] || { echo "browse bench: $bench is missing; build it first" >&2; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../common.sh"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

songs="$work/songs"
"$bench" generate "$songs"
mkdir -p "$work/program"


ls -f "$songs" >/dev/null
: >"$work/ls"
for _ in 1 2 3 4 5 6 7; do
    start=$(date +%s%N)
    ls -f "$songs" >/dev/null
    end=$(date +%s%N)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) / 1e6 }' >>"$work/ls"
done
ls_ms="$(median <"$work/ls")"

"$bench" measure "$songs" "$work/program" 2>"$work/stderr" | tee "$work/out" || {
    cat "$work/stderr" >&2
    exit 1
}
fill_ms="$(awk '$1 == "folder_fill_ms" { print $2 }' "$work/out")"
echo "folder_ls_ms $ls_ms ms"
awk -v a="$fill_ms" -v b="$ls_ms" 'BEGIN { printf "folder_fill_vs_ls %.2f x\n", a / b }'
