# Shared by the bench/<module>/run.sh scripts (sourced, not run): a scratch folder removed on
# exit, a private runtime folder for Qt, no sound device needed, and `median` over stdin.
work="$(mktemp -d "${TMPDIR:-/tmp}/tunara-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
