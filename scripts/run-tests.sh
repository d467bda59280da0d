#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The quick check, a few minutes: installs what is missing, builds the
# Release engine and its tests (cmake --preset release, in build/), and runs
# the default test set and the long runs (every published perft depth, the
# deep search figures). Exits non-zero on the first failure. The whole CI
# pipeline is scripts/ci.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh

echo "== Release build and the default test run"
cmake --preset release >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure --timeout 300

echo "== Long runs: perft at every published depth, the deep search figures"
ctest --test-dir build -j"$jobs" --output-on-failure -C long -L long --timeout 1800
