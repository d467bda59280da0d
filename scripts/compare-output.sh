#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one fixed workload of perft and search commands on two engines and
# compares what they print, apart from the figures that depend on time (nps,
# the perft time and rate) and the line ends (a Windows build ends its lines
# in CR LF; the end-to-end tests check those). Used to check that a change
# meant to make the engine faster, or a build for another platform, left every
# count, score, line and move order as it was.
#
#   scripts/compare-output.sh BASELINE NEW [quick|full]
#
# Each engine is a command line, split at blanks: a binary, or a program and
# its arguments ("wine64 build-windows/app/brix.exe").
# "quick" (the default) takes seconds; "full" adds perft 5 from the start
# position, perft 4 on every position of the suite and deeper searches.
# Exit status 0 when the outputs are the same; the diff is printed otherwise.
set -euo pipefail
if [[ $# -lt 2 ]]; then
  echo "usage: $0 BASELINE NEW [quick|full]" >&2
  exit 2
fi
base=$1
new=$2
mode=${3:-quick}
suite=$(cd "$(dirname "$0")/.." && pwd)/tests/data/perft-suite.txt

# The command script: "position fen ..." then perft and go commands.
commands() {
  local perft_depth go_depth
  if [[ $mode == full ]]; then perft_depth=4; go_depth=5; else perft_depth=3; go_depth=4; fi
  echo "position startpos"
  if [[ $mode == full ]]; then echo "perft 5"; echo "go depth 7"; else echo "perft 4"; echo "go depth 6"; fi
  echo "position startpos moves e2e4 d7d5 e4d5 g8f6 f1b5 c7c6 d5c6 d8d2 b1d2 b7c6 b5c6"
  echo "go depth 5"
  while IFS='|' read -r name fen counts; do
    [[ -z $name || $name == \#* ]] && continue
    echo "position fen $fen"
    echo "perft $perft_depth"
    echo "go depth $go_depth"
    echo "board"
    echo "pieces"
  done <"$suite"
}

# Feeds the script to an engine line by line; after a go it waits for the
# bestmove line so that the next command never meets a running search.
run() {
  local bin=$1 cmd line
  # shellcheck disable=SC2086 # a command line: a program and its arguments
  coproc ENGINE { exec $bin; }
  local in=${ENGINE[1]} out=${ENGINE[0]} pid=$ENGINE_PID
  while IFS= read -r cmd; do
    echo "> $cmd"
    echo "$cmd" >&"$in"
    if [[ $cmd == go* ]]; then
      while IFS= read -r line <&"$out"; do
        echo "$line"
        [[ $line == bestmove* ]] && break
      done
    elif [[ $cmd == perft* ]]; then
      while IFS= read -r line <&"$out"; do
        echo "$line"
        [[ $line == *Perfomance:* ]] && break
      done
    fi
  done < <(commands)
  echo quit >&"$in"
  cat <&"$out"
  wait "$pid"
}

normalise() { sed -E -e 's/\r$//' -e 's/ nps [0-9]+ / nps N /' -e 's/^( +Time:).*/\1 T/' -e 's/^( +Perfomance:).*/\1 R/'; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
[[ -n ${KEEP_OUTPUT:-} ]] && trap - EXIT && echo "outputs in $tmp" >&2
run "$base" | normalise >"$tmp/base.txt"
run "$new" | normalise >"$tmp/new.txt"
if diff -u "$tmp/base.txt" "$tmp/new.txt"; then
  echo "same output ($(wc -l <"$tmp/base.txt") lines, mode $mode)"
else
  echo "OUTPUTS DIFFER" >&2
  exit 1
fi
