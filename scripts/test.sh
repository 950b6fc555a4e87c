#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DMORVATH_SANITIZE=ON -DMORVATH_BENCH=OFF >/dev/null
cmake --build build-test -j"$(nproc)"
# A runtime folder of our own, gone when the run ends.
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
