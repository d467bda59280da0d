#!/usr/bin/env bash
# Builds the benchmark (Release) and runs it; with a git revision, also builds
# that revision of the engine with this benchmark and runs the two one after
# the other, so that both are measured in the same conditions.
#
#   scripts/bench.sh [--rev REVISION] [benchmark options: --quick, --repeat N, --only TEXT]
#
# Example: scripts/bench.sh --rev dfaacca --repeat 3
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
rev=""
if [[ ${1:-} == --rev ]]; then
  rev=$2
  shift 2
fi

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBRIX_BENCH=ON -DBRIX_TESTS=OFF >/dev/null
cmake --build build-bench -j"$jobs" --target brix_bench >/dev/null

if [[ -n $rev ]]; then
  old=$(mktemp -d)
  trap 'rm -rf "$old"' EXIT
  git archive "$rev" | tar -x -C "$old"
  rm -rf "$old/bench"
  cp -r bench "$old/bench"
  cmake -S "$old" -B "$old/build" -DCMAKE_BUILD_TYPE=Release -DBRIX_BENCH=ON -DBRIX_TESTS=OFF >/dev/null
  cmake --build "$old/build" -j"$jobs" --target brix_bench >/dev/null
  echo "== $rev"
  "$old/build/bench/brix_bench" "$@"
  echo
  echo "== this tree ($(git rev-parse --short HEAD))"
fi
build-bench/bench/brix_bench "$@"
