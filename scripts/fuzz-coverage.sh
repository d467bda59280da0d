#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Line coverage of the engine's sources reached by the fuzz corpora: builds the
# fuzz targets with clang's source-based coverage in build-fuzz-cov/, runs each
# target once over its seed corpus and whatever scripts/fuzz.sh has found in
# fuzz-out/, and prints llvm-cov's report per target for chess/, moves/, uci/.
# Usage: scripts/fuzz-coverage.sh [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v llvm-cov-14 >/dev/null || ! command -v llvm-profdata-14 >/dev/null; then
  echo "fuzz-coverage: needs llvm-cov-14 and llvm-profdata-14 (apt-get install llvm-14)" >&2
  exit 1
fi

targets=("$@")
((${#targets[@]})) || targets=(fuzz_fen fuzz_command fuzz_moves)

cmake --preset fuzz-coverage >/dev/null
cmake --build build-fuzz-cov -j"$(nproc)" --target "${targets[@]}"

profiles=build-fuzz-cov/profiles
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  rm -rf "$profiles" && mkdir -p "$profiles"
  corpora=("tests/fuzz/corpus/$name")
  [ -d "fuzz-out/$name" ] && corpora+=("fuzz-out/$name")
  LLVM_PROFILE_FILE="$profiles/%p.profraw" "build-fuzz-cov/tests/fuzz/$target" -runs=0 "${corpora[@]}" \
    >"build-fuzz-cov/$target.log" 2>&1
  llvm-profdata-14 merge -sparse "$profiles"/*.profraw -o "build-fuzz-cov/$target.profdata"
  echo "== $target over ${corpora[*]}"
  llvm-cov-14 report "build-fuzz-cov/tests/fuzz/$target" -instr-profile="build-fuzz-cov/$target.profdata" \
    "$PWD/chess" "$PWD/moves" "$PWD/uci"
done
