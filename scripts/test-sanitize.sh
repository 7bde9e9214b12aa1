#!/usr/bin/env bash
# Builds the whole test suite with the address and undefined-behaviour
# sanitizers into build-asan/ and runs it; any finding fails the run.
# CMAKE_ARGS adds further options (CI: -DEXAMORA_WERROR=ON -DEXAMORA_PCH=OFF).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD_DIR=build-asan BUILD_TYPE=Debug CMAKE_ARGS="-DEXAMORA_SANITIZE=ON ${CMAKE_ARGS:-}" scripts/build.sh
cd build-asan
# Qt keeps some process-wide allocations until exit; leaks are not the point here.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" "$@"
