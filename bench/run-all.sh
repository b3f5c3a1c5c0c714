#!/usr/bin/env bash
# Runs every benchmark: one line per figure, "name value unit".
# Each module's bench/<module>/run.sh gets the build folder as its argument.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
for script in "$here"/*/run.sh; do
    [ -f "$script" ] || continue
    bash "$script" "$build"
done
