#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a short UCI session (uci, isready, position, go depth 3, perft 3, quit)
# under valgrind's memcheck and fails on any memory error or leak.
# Usage: scripts/memcheck.sh [engine binary]   (default: build/app/brix,
# built in Release first when it is missing)
set -euo pipefail
cd "$(dirname "$0")/.."

engine=${1:-build/app/brix}
if [ ! -x "$engine" ]; then
  cmake --preset release >/dev/null
  cmake --build build -j"$(nproc)" --target brix
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Under valgrind the engine is slow: each wait allows 120 s.
uci_wait=120
source scripts/uci-session.sh
uci_start valgrind --quiet --leak-check=full --show-leak-kinds=definite,indirect \
  --errors-for-leak-kinds=definite,indirect --error-exitcode=1 --log-file="$log" "$engine"

uci_ask "uci" "uciok"
uci_ask "isready" "readyok"
uci_ask "position startpos moves e2e4 e7e5"
uci_ask "go depth 3" "bestmove "
uci_ask "perft 3" "    Perfomance: "
uci_ask "quit"

status=0
uci_end || status=$?
cat "$log"
if [ "$status" -ne 0 ]; then
  echo "memcheck: the session ended with status $status (errors or leaks above)" >&2
  exit 1
fi
if [ -s "$log" ]; then
  echo "memcheck: valgrind reported the lines above" >&2
  exit 1
fi
echo "memcheck: no errors, no leaks"
