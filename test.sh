#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test with CTest.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
build=${VALVE_TEST_BUILD_DIR:-build/sanitize}
jobs=$(nproc)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVALVE_SANITIZE=ON -DVALVE_TESTS=ON >/dev/null
cmake --build "$build" -j "$jobs"
cd "$build"
ctest --output-on-failure -j "$jobs" "$@"
