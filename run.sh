#!/usr/bin/env bash
# Installs what is missing, builds in Release, lays out a working directory and
# starts the program there.
#   ./run.sh [--port <serial port>] [working directory]
# Without --port the controller simulator is started on a pseudo-terminal and
# the program talks to it, with a settings store of its own; with --port the
# program uses that port and your own settings store. It shows on the current
# display; without one it says how to get one (xvfb-run, or
# QT_QPA_PLATFORM=offscreen).
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
port=""
workdir=""
while [ $# -gt 0 ]; do
  case "$1" in
    --port) port="$2"; shift 2 ;;
    --port=*) port="${1#--port=}"; shift ;;
    -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
    *) workdir="$1"; shift ;;
  esac
done

./tools/install-deps.sh --run
build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVALVE_TESTS=OFF -DVALVE_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

if [ ! -x "$build/qlvZENTU" ]; then
  echo "Built the libraries and tools; the program itself (main window) is not part of this build yet."
  exit 0
fi
exec ./tools/start-program.sh "$build" "${workdir:-$root/$build/work}" "$port"
