#!/usr/bin/env bash
# Start-up time, idle CPU and memory of the program, with a bare Qt window as the anchor.
# Usage: bench/app/run.sh <build folder>. Prints "name value unit" lines.
#   startup_shown_ms          process start until the main window is first exposed (median)
#   startup_shown_ms_bare_qt  the same for a bare 1024x768 Qt window (median)
#   startup_ratio             the two divided (target: at most 1.5)
#   startup_cpu_ms, startup_cpu_ms_bare_qt, startup_cpu_ratio
#                             CPU time (all threads) until then: steadier than the wall time on a
#                             busy machine
#   idle_cpu_percent          CPU of the idle program over 10 s, share of one core (median; target 0.2)
#   rss_mb                    resident memory 3 s after start (median; target 45)
#   rss_mb_bare_qt            the same for the bare window
# Runs under its own Xvfb server when xvfb-run is there, else on Qt's offscreen platform.
# TUNARA_BENCH_RUNS sets the number of start-up runs (default 9), TUNARA_BENCH_IDLE_RUNS the
# number of idle runs (default 3).
set -euo pipefail

build="$(cd "${1:-build}" && pwd)"
tunara="$build/tunara"
bare="$build/bench/app/bench_bare_window"
for exe in "$tunara" "$bare"; do
    [ -x "$exe" ] || { echo "app bench: $exe is missing; build it first" >&2; exit 1; }
done

if [ -z "${TUNARA_BENCH_IN_DISPLAY:-}" ]; then
    export TUNARA_BENCH_IN_DISPLAY=1
    if command -v xvfb-run >/dev/null; then
        exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$build"
    fi
    export QT_QPA_PLATFORM=offscreen
fi

runs="${TUNARA_BENCH_RUNS:-9}"
idle_runs="${TUNARA_BENCH_IDLE_RUNS:-3}"
source "$(dirname "${BASH_SOURCE[0]}")/../common.sh"
# The folder lists show the working folder and watch it and its parents. Start where `make run`
# starts, in the example songs, not in /tmp, where other programs' files come and go.
repo="$(cd "$(dirname "$0")/../.." && pwd)"
if [ -d "$repo/examples" ]; then cd "$repo/examples"; else cd "$HOME"; fi


# Prints "<wall ms> <cpu ms>" of one start.
shown_ms() {
    TUNARA_EXIT_WHEN_SHOWN="$(date +%s%N)" timeout 30 "$1" 2>/dev/null | awk '$1 == "shown_ms" { print $2, $4 }'
}

# One unmeasured start of each warms the page cache and the font cache.
shown_ms "$tunara" >/dev/null
shown_ms "$bare" >/dev/null
: >"$work/app" && : >"$work/bare"
for _ in $(seq "$runs"); do
    shown_ms "$tunara" >>"$work/app"
    shown_ms "$bare" >>"$work/bare"
done
app_ms="$(cut -d' ' -f1 "$work/app" | median)"
bare_ms="$(cut -d' ' -f1 "$work/bare" | median)"
app_cpu="$(cut -d' ' -f2 "$work/app" | median)"
bare_cpu="$(cut -d' ' -f2 "$work/bare" | median)"
echo "startup_shown_ms $app_ms ms"
echo "startup_shown_ms_bare_qt $bare_ms ms"
awk -v a="$app_ms" -v b="$bare_ms" 'BEGIN { printf "startup_ratio %.2f x\n", a / b }'
echo "startup_cpu_ms $app_cpu ms"
echo "startup_cpu_ms_bare_qt $bare_cpu ms"
awk -v a="$app_cpu" -v b="$bare_cpu" 'BEGIN { printf "startup_cpu_ratio %.2f x\n", a / b }'

# CPU time of the process in nanoseconds: the sum over its threads of the scheduler's run time
# (/proc/<pid>/task/*/schedstat), which is exact where utime + stime of /proc/<pid>/stat count
# whole clock ticks (0.1 % of a core over 10 s).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

: >"$work/cpu" && : >"$work/rss" && : >"$work/rss_bare"
for _ in $(seq "$idle_runs"); do
    "$tunara" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    rss_kb "$pid" >>"$work/rss"
    before="$(cpu_ns "$pid")"
    sleep 10
    after="$(cpu_ns "$pid")"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v d="$((after - before))" 'BEGIN { print d / 1e9 / 10 * 100 }' >>"$work/cpu"

    "$bare" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    rss_kb "$pid" >>"$work/rss_bare"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done
awk '{ printf "idle_cpu_percent %.3f %%\n", $1 }' <<<"$(median <"$work/cpu")"
awk '{ printf "rss_mb %.1f MB\n", $1 / 1024 }' <<<"$(median <"$work/rss")"
awk '{ printf "rss_mb_bare_qt %.1f MB\n", $1 / 1024 }' <<<"$(median <"$work/rss_bare")"
