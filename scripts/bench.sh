#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmark (Release) and runs it; with a git revision, also builds
# that revision of the engine with this benchmark and measures the two builds
# in turns: each round runs every case once on the older build and then once
# on this tree, and each build keeps its fastest run of every case. Taking
# turns case by case means that a slower spell of the machine (a virtual
# machine's speed drifts) falls on both builds alike instead of on whichever
# ran during it.
#
#   scripts/bench.sh [--rev REVISION] [benchmark options: --quick, --repeat N, --only TEXT]
#
# With --rev, --repeat N is the number of rounds (default 3), and --pgo adds a
# third build to the turns: this tree built profile-guided (scripts/pgo-build.sh,
# in build-bench-pgo).
# Example: scripts/bench.sh --rev dfaacca --repeat 5 --pgo
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
rev=""
if [[ ${1:-} == --rev ]]; then
  rev=$2
  shift 2
fi

cmake --preset bench >/dev/null
cmake --build build-bench -j"$jobs" --target brix_bench >/dev/null
new=build-bench/bench/brix_bench

if [[ -z $rev ]]; then
  exec "$new" "$@"
fi

rounds=3
select=()
builds=(old new)
pgo_run=0
while [[ $# -gt 0 ]]; do
  case $1 in
    --repeat) rounds=$2; shift 2 ;;
    --pgo) builds+=(pgo); pgo_run=1; shift ;;
    --quick) select+=(--quick); shift ;;
    --only) select+=(--only "$2"); shift 2 ;;
    *) echo "bench.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

old_dir=$(mktemp -d)
trap 'rm -rf "$old_dir"' EXIT
git archive "$rev" | tar -x -C "$old_dir"
# The older tree measured with this tree's benchmark and test data.
rm -rf "$old_dir/bench" "$old_dir/tests/data"
mkdir -p "$old_dir/tests"
cp -r bench "$old_dir/bench"
cp -r tests/data "$old_dir/tests/data"
# An older tree may have no presets: the flags of the bench preset, spelt out.
cmake -S "$old_dir" -B "$old_dir/build" -DCMAKE_BUILD_TYPE=Release -DBRIX_BENCH=ON -DBRIX_TESTS=OFF >/dev/null
cmake --build "$old_dir/build" -j"$jobs" --target brix_bench >/dev/null
old=$old_dir/build/bench/brix_bench
pgo=build-bench-pgo/bench/brix_bench
if ((pgo_run)); then
  JOBS=$jobs scripts/pgo-build.sh build-bench-pgo >/dev/null
fi

mapfile -t labels < <("$new" "${select[@]}" --list)
results=$old_dir/results
: >"$results"
status=0
for ((round = 1; round <= rounds; round++)); do
  for label in "${labels[@]}"; do
    for build in "${builds[@]}"; do
      case $build in
        old) binary=$old ;;
        new) binary=$new ;;
        pgo) binary=$pgo ;;
      esac
      # The one result line of the run: case name, depth, nodes, check, times, rate.
      line=$("$binary" --only "$label" --repeat 1 | grep -E '^(perft|search) ') || status=1
      echo "$build $line" >>"$results"
    done
  done
done

# Per build and case the fastest run (by CPU time); then the tables and the ratios.
# A result line is: build, case name (words), depth, nodes, check, wall s, cpu s, rate.
awk -v rev="$rev" -v here="$(git rev-parse --short HEAD)" -v pgo="$pgo_run" '
  NF < 8 { wrong = 1; next }
  {
    label = $2
    for (i = 3; i <= NF - 6; i++) label = label " " $i
    key = label SUBSEP $(NF - 5)
    if (!(key in seen)) { seen[key] = 1; order[++count] = key; title[count] = label; depth[count] = $(NF - 5) }
    id = $1 SUBSEP key
    if (!(id in cpu) || $(NF - 1) + 0 < cpu[id]) { cpu[id] = $(NF - 1) + 0; wall[id] = $(NF - 2) + 0 }
    nodes[id] = $(NF - 4); check[id] = $(NF - 3)
    if ($(NF - 3) != "ok") wrong = 1
  }
  function table(build, heading,   i, id) {
    printf "== %s\n%-24s %5s %10s %6s %8s %8s %10s\n", heading, "case", "depth", "nodes", "check", "wall s", "cpu s", "M nodes/s"
    for (i = 1; i <= count; i++) {
      id = build SUBSEP order[i]
      printf "%-24s %5s %10s %6s %8.3f %8.3f %10.2f\n", title[i], depth[i], nodes[id], check[id], wall[id], cpu[id], nodes[id] / cpu[id] / 1e6
    }
    print ""
  }
  END {
    table("old", rev)
    table("new", "this tree (" here ")")
    if (pgo) table("pgo", "this tree, profile-guided build")
    printf "== CPU time of %s over this tree%s\n", rev, pgo ? " (plain, profile-guided)" : ""
    for (i = 1; i <= count; i++) {
      printf "%-24s %5s %8.2fx", title[i], depth[i], cpu["old" SUBSEP order[i]] / cpu["new" SUBSEP order[i]]
      if (pgo) printf " %8.2fx", cpu["old" SUBSEP order[i]] / cpu["pgo" SUBSEP order[i]]
      printf "\n"
    }
    if (wrong) print "NODE COUNTS DIFFER from the recorded figures, or a run failed"
  }' "$results"
exit "$status"
