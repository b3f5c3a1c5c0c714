#!/usr/bin/env bash
# Rebuilds the example songs in examples/ (MIDI files and their MP3 renderings) from
# examples/tools/make_examples.cpp. The songs are committed, so a normal build never runs this.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
tool="$(mktemp -d)/make_examples"
trap 'rm -rf "$(dirname "$tool")"' EXIT
g++ -std=c++20 -O2 -Wall -Wextra -Werror "$root/examples/tools/make_examples.cpp" -o "$tool" \
    $(pkg-config --cflags --libs fluidsynth lame)
"$tool" "$root/examples" /usr/share/sounds/sf2/TimGM6mb.sf2
