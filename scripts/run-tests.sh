#!/usr/bin/env bash
# Installs what is missing, builds the engine and runs every check that fits a
# CI run. Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh

echo "== Release build and the default test run"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure -LE 'long|soak' --timeout 300
