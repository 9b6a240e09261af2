#!/usr/bin/env bash
# Writes a PNG of every tab page and every box of the program, as the real
# main window shows them on a virtual X server (Xvfb, 800 x 480, 96 dpi), with
# the controller simulator standing in for the valve; the Script tab also with
# the widest script and each editor open, below the status strip with the
# demo sensor and a running script's three status lines. The widest scripts
# are laid out in the working directory where none of their names exists.
#   tools/screenshots.sh <output folder> [<working directory>]
# Without a working directory a fresh one is laid out below the build folder.
# Builds in Release (build/release) first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { sed -n '2,10p' "$0"; exit 2; }
mkdir -p "$1"
out=$(cd "$1" && pwd)
build="$root/build/release"
work=${2:-$build/screenshot-work}

"$root/tools/install-deps.sh" --screenshots
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVALVE_TESTS=OFF -DVALVE_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target valve-screenshots valve-controller-sim valve-demo-world

export VALVE_PROGRAM="$build/tools/layout/valve-screenshots"
export VALVE_SCREENSHOT_DIR="$out"
xvfb-run -a -s "-screen 0 800x480x24 -dpi 96" "$root/tools/start-program.sh" "$build" "$work"
echo "Screenshots in $out"
