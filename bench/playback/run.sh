#!/usr/bin/env bash
# Position-timer figures: the cost of one Timer1 tick while a song plays (real engine, silent
# output at real-time pace, an example MP3), beside Qt's cost of delivering one timer event.
# Usage: bench/playback/run.sh <build folder>. Target: timer_tick_us below 50.
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
bench="$build/bench/playback/playback_bench"
if [ ! -x "$bench" ]; then
    cmake --build "$build" --target playback_bench >/dev/null
fi
source "$(dirname "${BASH_SOURCE[0]}")/../common.sh"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
"$bench" 2>/dev/null
