#!/usr/bin/env bash
# Audio engine figures, each beside its anchor run on the same file in the same run.
# Usage: run.sh <build folder>
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
bench="$build/bench/engine/engine_bench"
if [ ! -x "$bench" ]; then
    cmake --build "$build" --target engine_bench >/dev/null
fi
source "$(dirname "${BASH_SOURCE[0]}")/../common.sh"
testfont=/usr/share/sounds/sf2/TimGM6mb.sf2

"$bench" make "$work"
"$bench" open "$work/tagged.mp3" mp3_open_ms
"$bench" open "$work/untagged.mp3" mp3_open_untagged_ms

# Best of three wall-clock runs of a command, in seconds.
best_of_three() {
    local best=""
    for _ in 1 2 3; do
        local start end
        start=$EPOCHREALTIME
        "$@" >/dev/null 2>&1
        end=$EPOCHREALTIME
        best=$(awk -v b="$best" -v s="$start" -v e="$end" 'BEGIN { t = e - s; if (b == "" || t < b) b = t; print b }')
    done
    echo "$best"
}

ours=$("$bench" decode "$work/tagged.mp3")
echo "$ours"
cli=$(best_of_three mpg123 -q -t "$work/tagged.mp3")
awk -v t="$cli" -v ours="${ours#* }" 'BEGIN {
    cli = 300 / t; split(ours, o, " ")
    printf "mpg123_cli_x_realtime %.1f x\n", cli
    printf "mp3_decode_vs_mpg123 %.2f ratio\n", o[1] / cli
}'

if [ -f "$testfont" ]; then
    ours=$("$bench" render "$work/song.mid" "$testfont")
    echo "$ours"
    seconds=120
    cli=$(best_of_three fluidsynth -ni -F "$work/fluid.raw" "$testfont" "$work/song.mid")
    awk -v t="$cli" -v s="$seconds" -v ours="${ours#* }" 'BEGIN {
        cli = s / t; split(ours, o, " ")
        printf "fluidsynth_cli_x_realtime %.1f x\n", cli
        printf "midi_render_vs_fluidsynth %.2f ratio\n", o[1] / cli
    }'
fi

# A fresh process each time, so the SoundFont really is loaded for the first time; median of 5.
for _ in 1 2 3 4 5; do
    "$bench" first-midi "$work/song.mid"
done | sort -k2 -n | sed -n 3p

"$bench" play-cpu "$work/tagged.mp3" 5

# A 31 MB MIDI file of 10.8 million running-status notes: the time to load it (target under
# 1,500 ms) and the memory it takes at its peak beside the file's own size (target under 10 times).
if [ -f "$testfont" ]; then
    "$bench" make-dense "$work/dense.mid"
    # Median of three fresh processes, figure by figure.
    for _ in 1 2 3; do
        "$bench" dense-load "$work/dense.mid" "$testfont" "$work/song.mid"
    done >"$work/dense.txt"
    for name in midi_dense_load_ms midi_dense_load_cpu_ms midi_dense_peak_mb midi_dense_file_mb \
        midi_dense_peak_vs_file; do
        value=$(awk -v n="$name" '$1 == n { print $2 }' "$work/dense.txt" | median)
        unit=$(awk -v n="$name" '$1 == n { print $3; exit }' "$work/dense.txt")
        echo "$name $value $unit"
    done
    rm -f "$work/dense.mid"
fi
