#!/usr/bin/env bash
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

coproc ENGINE {
  exec valgrind --quiet --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --error-exitcode=1 --log-file="$log" "$engine"
}
engine_pid=$ENGINE_PID
to_engine=${ENGINE[1]}
from_engine=${ENGINE[0]}

# Sends one line; reads and echoes the engine's lines until one starts with
# $2. Under valgrind the engine is slow: each wait allows 120 s.
ask() {
  echo "> $1"
  echo "$1" >&"$to_engine"
  [ -z "${2:-}" ] && return 0
  local line
  while IFS= read -r -t 120 line <&"$from_engine"; do
    echo "$line"
    [[ "$line" == "$2"* ]] && return 0
  done
  echo "memcheck: no line starting with '$2' in time" >&2
  return 1
}

ask "uci" "uciok"
ask "isready" "readyok"
ask "position startpos moves e2e4 e7e5"
ask "go depth 3" "bestmove "
ask "perft 3" "    Perfomance: "
ask "quit"
exec {to_engine}>&-

status=0
wait "$engine_pid" || status=$?
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
