#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang++ (AddressSanitizer and UBSan on) and
# runs each for the given number of seconds, starting from the seed corpus in
# tests/fuzz/corpus/<target>. Prints, per target, the executions run and the
# coverage reached; exits non-zero on the first crash, hang or sanitizer report.
# The inputs found go to fuzz-out/<target>/, a crashing input to fuzz-out/.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(fuzz_fen fuzz_command fuzz_moves)

cmake --preset fuzz >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

mkdir -p fuzz-out
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  corpus=fuzz-out/$name
  log=fuzz-out/$target.log
  mkdir -p "$corpus"
  echo "== $target for $seconds s"
  status=0
  "build-fuzz/tests/fuzz/$target" "$corpus" "tests/fuzz/corpus/$name" \
    -max_total_time="$seconds" -timeout=10 -max_len=512 -print_final_stats=1 \
    -artifact_prefix=fuzz-out/"$target"- >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "$target failed with status $status; the input is in fuzz-out/$target-*" >&2
    exit 1
  fi
  edges=$(sed -n 's/.*(\([0-9]*\) inline 8-bit counters).*/\1/p' "$log" | head -n 1)
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)
  runs=$(grep -o 'number_of_executed_units: *[0-9]*' "$log" | tr -dc '0-9')
  rate=$(grep -o 'average_exec_per_sec: *[0-9]*' "$log" | tr -dc '0-9')
  cov=$(grep -o 'cov: [0-9]*' <<<"$done_line" | tr -dc '0-9')
  ft=$(grep -o 'ft: [0-9]*' <<<"$done_line" | tr -dc '0-9')
  corp=$(grep -o 'corp: [0-9]*' <<<"$done_line" | tr -dc '0-9')
  echo "$target: $runs executions ($rate/s), coverage $cov of $edges edges, $ft features, corpus $corp inputs"
done
