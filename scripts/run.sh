#!/usr/bin/env bash
# Installs what is missing, builds, starts a simulated QLX-50 on a
# pseudo-terminal and runs the program connected to it, in the working
# folder ./run (settings "Default.dat" and reference curves of the simulated
# instrument). Stopping the program stops the simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh
scripts/build.sh

run="$root/run"
link="$run/qlx50"                # stable name of the simulator's device
mkdir -p "$run"

# Files named on the command line are taken relative to where we started.
args=()
for a in "$@"; do args+=("$(realpath -m -- "$a")"); done

# Reference curves of the simulated instrument, once (later edits are kept).
if ! compgen -G "$run/*.q5imp" >/dev/null; then
  build/tools/qlx50-sim/qlx50-sim --export-refs "$run"
fi

# The program talks to the simulator through line 1 of Default.dat; the
# folders start in the working folder so that the file dialogs show the
# reference curves. An existing file keeps its folders.
if [ -f "$run/Default.dat" ]; then
  sed -i "1s|.*|$link\r|" "$run/Default.dat"
else
  printf '%s\r\n' "$link" "$run" "$run" "$run" "$run" "$run" "$run" "$run" > "$run/Default.dat"
fi

# The simulator at the real line rate, logging every command it receives;
# it replaces a stale link itself.
build/tools/qlx50-sim/qlx50-sim --paced --log --link "$link" > "$run/qlx50-sim.log" 2>&1 &
sim=$!
stop_sim() {
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
}
trap stop_sim EXIT
trap 'exit 130' INT TERM
for _ in $(seq 50); do
  [ "$(readlink "$link" 2>/dev/null)" = "$(head -n1 "$run/qlx50-sim.log" 2>/dev/null)" ] && break
  kill -0 "$sim" 2>/dev/null || { cat "$run/qlx50-sim.log" >&2; exit 1; }
  sleep 0.1
done

cd "$run"
"$root/build/src/app/qlx50-manager" ${args[@]+"${args[@]}"}
