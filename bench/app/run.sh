#!/usr/bin/env bash
# Start-up, idle and playing cost of the program as a desktop runs it, each beside a bare
# 1024x768 Qt window measured in the same run.
# Usage: bench/app/run.sh <build folder>. Prints "name value unit" lines.
#
# Start-up: the time from spawning the process until its first top-level window is mapped on the
# X server, seen by an X client of the bench's own (bench_map_wait watches MapNotify on the root
# window). Every start gets a fresh home folder inside the bench's folder under /tmp, which is
# also its working folder, as a launcher's would be, and no SDL_AUDIODRIVER; each round starts
# the programs in a random order of its own, a moment apart; figures are medians.
#   startup_map_ms, startup_map_ms_bare_qt, startup_ratio (target: at most 1.3)
#                             with a session bus of the bench's own
#   startup_map_ms_no_bus, startup_map_ms_no_bus_bare_qt, startup_ratio_no_bus (at most 1.3)
#                             with DBUS_SESSION_BUS_ADDRESS naming a socket that does not exist
#   startup_map_ms_label_qt, startup_ratio_label_qt
#                             a Qt window with one word of text in a layout, with the bus: what
#                             the first text costs (the font configuration and a font), for scale
#   startup_cpu_ms, startup_cpu_ms_bare_qt, startup_cpu_ratio
#                             CPU time of all threads (ended ones too) until the map: steadier
#                             than the wall time on a busy machine
# Idle and playing, as a share of one core (CPU of all threads, medians):
#   idle_cpu_percent, idle_cpu_percent_bare_qt
#                             10 s idle, 3 s after start, working folder the example songs, no
#                             SDL_AUDIODRIVER
#   idle_cpu_busy_folder_percent, idle_cpu_busy_folder_percent_bare_qt (target: at most 0.3)
#                             the same while an entry is created and removed ten times a second
#                             in the parent of the working folder (in the build folder), a
#                             folder the tree shows
#   play_cpu_percent_window   the whole program, window shown, working folder the example songs,
#                             while an MP3 plays on the silent output, over 20 s (target: under 1)
#   rss_mb, rss_mb_bare_qt    resident memory 3 s after start (target: 45)
# Runs under its own Xvfb server (xvfb-run); the start-up figures need an X server, so without
# one only the idle figures are taken, on Qt's offscreen platform.
# TUNARA_BENCH_RUNS sets the number of start-up rounds (default 9), TUNARA_BENCH_IDLE_RUNS the
# number of idle runs (default 3).
set -euo pipefail

build="$(cd "${1:-build}" && pwd)"
tunara="$build/tunara"
bare="$build/bench/app/bench_bare_window"
label="$build/bench/app/bench_label_window"
map_wait="$build/bench/app/bench_map_wait"
churn="$build/bench/app/bench_churn"
play="$build/bench/app/bench_play_window"
for exe in "$tunara" "$bare" "$label" "$map_wait" "$churn" "$play"; do
    [ -x "$exe" ] || { echo "app bench: $exe is missing; build it first" >&2; exit 1; }
done

if [ -z "${TUNARA_BENCH_IN_DISPLAY:-}" ]; then
    export TUNARA_BENCH_IN_DISPLAY=1
    if command -v xvfb-run >/dev/null; then
        exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$build"
    fi
    echo "app bench: no xvfb-run; start-up and playing figures skipped" >&2
    export QT_QPA_PLATFORM=offscreen
fi
on_x=0
[ "${QT_QPA_PLATFORM:-}" != offscreen ] && [ -n "${DISPLAY:-}" ] && on_x=1

runs="${TUNARA_BENCH_RUNS:-9}"
idle_runs="${TUNARA_BENCH_IDLE_RUNS:-3}"
source "$(dirname "${BASH_SOURCE[0]}")/../common.sh"
repo="$(cd "$(dirname "$0")/../.." && pwd)"
no_bus="unix:path=/nonexistent/socket"

# A session bus of the bench's own, as a desktop session has. Without it libdbus would start one
# through the X server (dbus-launch) on the first start of the run and leave it behind.
bus_pid=""
busy=""
churn_pid=""
cleanup() {
    [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
    [ -n "$churn_pid" ] && kill "$churn_pid" 2>/dev/null
    [ -n "$busy" ] && rm -rf "$busy"
    rm -rf "$work"
}
trap cleanup EXIT
if command -v dbus-daemon >/dev/null; then
    dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus-address" 2>/dev/null &
    bus_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/bus-address" ] && break
        sleep 0.05
    done
    export DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$work/bus-address")"
else
    echo "app bench: no dbus-daemon; every figure is taken without a session bus" >&2
    export DBUS_SESSION_BUS_ADDRESS="$no_bus"
fi

ratio() { awk -v a="$2" -v b="$3" -v n="$1" 'BEGIN { printf "%s %.2f x\n", n, a / b }'; }

# --- Start-up -------------------------------------------------------------------------------
# Prints "map_ms <ms> cpu_ms <ms>" of one start of "$@" (bench_map_wait options, --, program).
start_once() {
    local home
    home="$(mktemp -d "$work/home.XXXXXX")"
    timeout 60 env -u SDL_AUDIODRIVER "$map_wait" -C "$home" -e HOME="$home" "$@" 2>/dev/null || true
    rm -rf "$home"
}

if [ "$on_x" = 1 ]; then
    variants=(tunara bare tunara_no_bus bare_no_bus label)
    start_variant() {
        case "$1" in
        tunara) start_once -- "$tunara" ;;
        bare) start_once -- "$bare" ;;
        tunara_no_bus) start_once -e DBUS_SESSION_BUS_ADDRESS="$no_bus" -- "$tunara" ;;
        bare_no_bus) start_once -e DBUS_SESSION_BUS_ADDRESS="$no_bus" -- "$bare" ;;
        label) start_once -- "$label" ;;
        esac
    }
    # One unmeasured start of each warms the page cache and the font cache.
    for v in "${variants[@]}"; do
        start_variant "$v" >/dev/null
        : >"$work/start_$v"
    done
    # Each round starts the programs in an order of its own, drawn at random, a moment apart. With
    # a fixed cycle every variant always followed the same one, and what that one left going (a
    # start that used the session bus) weighed on the next figure: the program's start without a
    # bus, always run after the bare window's start with one, measured 10 to 20 ms slower than in
    # a shuffled order.
    for _ in $(seq "$runs"); do
        for v in $(printf '%s\n' "${variants[@]}" | shuf); do
            sleep 0.2
            start_variant "$v" | awk '$1 == "map_ms" { print $2, $4 }' >>"$work/start_$v"
        done
    done
    for v in "${variants[@]}"; do
        [ -s "$work/start_$v" ] || { echo "app bench: no window mapped for $v" >&2; exit 1; }
    done
    wall() { cut -d' ' -f1 "$work/start_$1" | median; }
    cpu() { cut -d' ' -f2 "$work/start_$1" | median; }
    echo "startup_map_ms $(wall tunara) ms"
    echo "startup_map_ms_bare_qt $(wall bare) ms"
    ratio startup_ratio "$(wall tunara)" "$(wall bare)"
    echo "startup_map_ms_no_bus $(wall tunara_no_bus) ms"
    echo "startup_map_ms_no_bus_bare_qt $(wall bare_no_bus) ms"
    ratio startup_ratio_no_bus "$(wall tunara_no_bus)" "$(wall bare_no_bus)"
    echo "startup_map_ms_label_qt $(wall label) ms"
    ratio startup_ratio_label_qt "$(wall label)" "$(wall bare)"
    echo "startup_cpu_ms $(cpu tunara) ms"
    echo "startup_cpu_ms_bare_qt $(cpu bare) ms"
    ratio startup_cpu_ratio "$(cpu tunara)" "$(cpu bare)"
fi

# --- Idle -----------------------------------------------------------------------------------
# CPU time of the process in nanoseconds: the sum over its threads of the scheduler's run time
# (/proc/<pid>/task/*/schedstat), which is exact where utime + stime of /proc/<pid>/stat count
# whole clock ticks (0.1 % of a core over 10 s).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

# Starts "$2" in folder "$1" with a fresh home, waits 3 s, appends its resident memory to file
# "$3" (when given) and its CPU share over the next 10 s to file "$4".
idle_once() {
    local home pid before after
    home="$(mktemp -d "$work/home.XXXXXX")"
    (cd "$1" && unset SDL_AUDIODRIVER && HOME="$home" exec "$2") >/dev/null 2>&1 &
    pid=$!
    sleep 3
    [ -n "$3" ] && rss_kb "$pid" >>"$3"
    before="$(cpu_ns "$pid")"
    sleep 10
    after="$(cpu_ns "$pid")"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    rm -rf "$home"
    awk -v d="$((after - before))" 'BEGIN { print d / 1e9 / 10 * 100 }' >>"$4"
}

# The quiet case starts where `make run` starts, in the example songs, not in /tmp, where other
# programs' files come and go. The busy case starts in a copy of them one level below the folder
# that the bench keeps busy, so that folder is an expanded ancestor in the tree; it lies in the
# build folder too, so that only the bench's own entry comes and goes among the shown folders.
quiet="$repo/examples"
[ -d "$quiet" ] || quiet="$work"
busy="$(mktemp -d "$build/app-bench-busy.XXXXXX")"
mkdir -p "$busy/songs"
cp "$repo"/examples/*.mp3 "$repo"/examples/*.mid "$busy/songs/" 2>/dev/null || true
"$churn" "$busy" 10 &
churn_pid=$!

for name in cpu cpu_bare cpu_busy cpu_busy_bare rss rss_bare; do : >"$work/$name"; done
for _ in $(seq "$idle_runs"); do
    idle_once "$quiet" "$tunara" "$work/rss" "$work/cpu"
    idle_once "$quiet" "$bare" "$work/rss_bare" "$work/cpu_bare"
    idle_once "$busy/songs" "$tunara" "" "$work/cpu_busy"
    idle_once "$busy/songs" "$bare" "" "$work/cpu_busy_bare"
done
kill "$churn_pid"
wait "$churn_pid" 2>/dev/null || true
churn_pid=""
percent() { awk -v n="$1" '{ printf "%s %.3f %%\n", n, $1 }' <<<"$(median <"$work/$2")"; }
percent idle_cpu_percent cpu
percent idle_cpu_percent_bare_qt cpu_bare
percent idle_cpu_busy_folder_percent cpu_busy
percent idle_cpu_busy_folder_percent_bare_qt cpu_busy_bare
awk '{ printf "rss_mb %.1f MB\n", $1 / 1024 }' <<<"$(median <"$work/rss")"
awk '{ printf "rss_mb_bare_qt %.1f MB\n", $1 / 1024 }' <<<"$(median <"$work/rss_bare")"

# --- Playing --------------------------------------------------------------------------------
if [ "$on_x" = 1 ]; then
    home="$(mktemp -d "$work/home.XXXXXX")"
    (cd "$quiet" && HOME="$home" "$play" 20) 2>/dev/null || echo "app bench: the playing figure failed" >&2
fi
