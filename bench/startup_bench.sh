#!/usr/bin/env bash
# Start-up of the program on a real X server (Xvfb): time from process start
# to the main window shown and painted, and peak memory, measured from
# outside by startup_watch. Three starts, each RUNS times: with a curve file
# on the command line (a reference the simulator exports), with a reference
# list (a .q5lst written here that names the simulator's eight references),
# and with nothing. Needs Xvfb (scripts/install-deps.sh --gui).
#
#   bench/startup_bench.sh [BUILD_DIR] [RUNS]     (default build-release, 10)
set -euo pipefail

build=$(cd "${1:-build-release}" && pwd)
runs=${2:-10}
program=$build/src/app/qlx50-manager
sim=$build/tools/qlx50-sim/qlx50-sim
watch=$build/bench/startup_watch
for f in "$program" "$sim" "$watch"; do
  [ -x "$f" ] || { echo "startup_bench: $f is missing; build it first" >&2; exit 1; }
done
command -v Xvfb >/dev/null || { echo "startup_bench: Xvfb is missing (scripts/install-deps.sh --gui)" >&2; exit 1; }

work=$(mktemp -d)
xvfb=""
cleanup() {
  if [ -n "$xvfb" ] && ! kill "$xvfb" 2>/dev/null; then
    echo "startup_bench: Xvfb had ended:" >&2
    tail -n 20 "$work/xvfb.log" >&2
  fi
  [ -n "$xvfb" ] && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display nobody uses, large enough for the whole window (a grab of a
# window partly off the screen fails).
display=""
for d in $(seq 91 140); do
  if [ ! -e "/tmp/.X11-unix/X$d" ] && [ ! -e "/tmp/.X$d-lock" ]; then display=$d; break; fi
done
[ -n "$display" ] || { echo "startup_bench: no free display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1600x1200x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
export DISPLAY=":$display"

# The files given on the command line.
"$sim" --export-refs "$work/refs" >/dev/null
curve=$(ls "$work"/refs/*.q5imp | head -n 1)
list=$work/refs.q5lst
{
  n=0
  for f in "$work"/refs/*.q5imp; do
    name=$(basename "$f" .q5imp)
    printf '[%-12.12s]\r\n%s\r\n' "$name" "$f"
    n=$((n + 1))
  done
  while [ $n -lt 64 ]; do printf ',\r\n,\r\n'; n=$((n + 1)); done
} >"$list"

# No Default.dat in the working folder: the program starts with its defaults
# and writes nothing back.
mkdir "$work/cwd"
cd "$work/cwd"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

echo "machine: $(uptime)"
echo "program: $program"
echo
echo "== with a curve file: $(basename "$curve")"
"$watch" --runs "$runs" -- "$program" "$curve"
echo
echo "== with a reference list of $(ls "$work"/refs/*.q5imp | wc -l) curves: $(basename "$list")"
"$watch" --runs "$runs" -- "$program" "$list"
echo
echo "== with no file"
"$watch" --runs "$runs" -- "$program"
