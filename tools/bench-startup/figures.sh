#!/usr/bin/env bash
# The start-up figures of the README in one command: builds Release with the
# benchmarks (build/release-bench), then runs run-bench.py with 31 starts of
# each program, 30 s of idle CPU and the instruction counts (valgrind).
#   tools/bench-startup/figures.sh [more run-bench.py options]
# Best on a quiet machine; the table's first line says the cores and the load.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/release-bench"
"$root/tools/install-deps.sh" --profile
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVALVE_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target qlvZENTU bench-minimal-window benchshowprobe \
  valve-controller-sim valve-demo-world >/dev/null
exec /usr/bin/python3 "$root/tools/bench-startup/run-bench.py" "$build" --runs 31 --idle 30 --callgrind "$@"
