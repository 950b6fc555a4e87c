#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DMORVATH_SANITIZE=ON -DMORVATH_BENCH=OFF >/dev/null
cmake --build build-test -j"$(nproc)"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp}"
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
