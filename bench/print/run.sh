#!/usr/bin/env bash
# Printing the playlist with 32,767 entries, against groff typesetting the same lines.
# Usage: bench/print/run.sh <build folder>. Prints "name value unit" lines:
#   print_full_playlist_ms     PrintPlaylist with numbers, 32,767 entries, into a PDF file
#                              (median; target at most 3000)
#   print_one_entry_ms         the same with one entry (median; target at most 100)
#   print_full_playlist_pages  pages of that PDF
#   groff_ps_ms                `groff -Tps` on the same 32,767 numbered lines (median)
#   print_vs_groff             the first divided by the last
set -euo pipefail

build="$(cd "${1:-build}" && pwd)"
bench="$build/bench/print/bench_print"
[ -x "$bench" ] || { echo "print bench: $bench is missing; build it first" >&2; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../common.sh"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"


"$bench" "$work/playlist.pdf" 2>"$work/stderr" | tee "$work/out" || {
    cat "$work/stderr" >&2
    exit 1
}
print_ms="$(awk '$1 == "print_full_playlist_ms" { print $2 }' "$work/out")"
if command -v pdfinfo >/dev/null; then
    pages="$(pdfinfo "$work/playlist.pdf" | awk '$1 == "Pages:" { print $2 }')"
    echo "print_full_playlist_pages $pages pages"
fi

if command -v groff >/dev/null; then
    { printf '.nf\n'; seq 1 32767 | sed 's/.*/&.   Liedje &/'; } >"$work/lines.ms"
    groff -Tps "$work/lines.ms" >/dev/null
    : >"$work/groff"
    for _ in 1 2 3 4 5; do
        start=$(date +%s%N)
        groff -Tps "$work/lines.ms" >/dev/null
        end=$(date +%s%N)
        awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) / 1e6 }' >>"$work/groff"
    done
    groff_ms="$(median <"$work/groff")"
    echo "groff_ps_ms $groff_ms ms"
    awk -v a="$print_ms" -v b="$groff_ms" 'BEGIN { printf "print_vs_groff %.2f x\n", a / b }'
else
    echo "print bench: groff is not installed; no anchor" >&2
fi
