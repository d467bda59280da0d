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

echo "== ThreadSanitizer build and the end-to-end tests"
# The engine's threads (command loop, search, timer) under the race detector.
# A report ends the engine with status 66, which the tests check on every exit.
export TSAN_OPTIONS=halt_on_error=1:exitcode=66
cmake -S . -B build-tsan -DBRIX_SANITIZE=thread -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-tsan -j"$jobs"
ctest --test-dir build-tsan -j"$jobs" --output-on-failure -L e2e --timeout 300
