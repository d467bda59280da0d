#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays short matches of the engine in a real chess GUI, XBoard, with a real
# clock, and fails on anything the GUI or its UCI adapter holds against the
# engine.
#
# How it runs. XBoard speaks the xboard protocol and reaches UCI engines
# through the polyglot adapter. Each Brix is given to XBoard as a polyglot
# command line (-fcp/-scp "polyglot -noini -log true -lf LOG -ec ENGINE"), so
# that each adapter writes its own log with every line between it and the
# engine; -fUCI would start polyglot too, but with XBoard's own adapter
# command and no log. XBoard runs in match mode under xvfb-run -a (a virtual X
# display on a free number) with -noGUI, so that it draws nothing and waits
# for no window. Games start from the positions below in turn (from the start
# position both engines soon repeat moves), without pondering, with
# -autoCallFlag so that a clock that runs out ends the game, and are called
# drawn after 50 moves. Matches, each with a cap on XBoard's wall-clock time
# so that a hung GUI fails the stage (about two minutes in all, normally):
#   fairymax  Brix against Fairy-Max, 2 games at 20 s a game, no increment
#   tight     Brix against itself, 2 games at 1 s + 1 s a move: an increment
#             as large as the clock, every move's budget at its cap
#   session   Brix against itself, 2 games at 10 moves in 5 s: movestogo
#             counts down to 1 with half a second on the clock
#   short     (only when asked for) Brix against Fairy-Max, 1 game at 20 s
# Increments are whole seconds: polyglot passes only whole seconds on as
# winc/binc.
#
# The stage fails when XBoard does not end within its time, when a game has
# no result, when a game ends against Brix by time, an illegal move, a false
# claim, a crash or a disconnect, when XBoard's debug log shows it rejecting a
# move or losing a Brix process, when polyglot's log shows an illegal move, a
# stalled or crashed engine, or any line of the engine that is no UCI reply
# (the engine's own error replies to what polyglot sent), or when the engine's
# clock ran out at any move. At the end it prints each game's result and the
# least time left on a Brix clock when its move arrived (from XBoard's debug
# log: the "time" XBoard sends before a move, in centiseconds, less the
# milliseconds until the move came back).
#
# Usage: scripts/gui-match.sh [engine binary] [output folder] [match...]
#   defaults: build/app/brix (built in Release when missing), build/gui-match,
#   all three matches
# The folder keeps, per match, the PGN, XBoard's debug log and output, and
# each polyglot's log.
set -euo pipefail
cd "$(dirname "$0")/.."

engine=${1:-build/app/brix}
out=${2:-build/gui-match}
shift 2 || shift $#
if [ ! -x "$engine" ]; then
  cmake --preset release >/dev/null
  cmake --build build -j"$(nproc)" --target brix
fi
engine=$(realpath "$engine")
xboard=/usr/games/xboard
polyglot=/usr/games/polyglot
fairymax=/usr/games/fairymax
for tool in "$xboard" "$polyglot" "$fairymax" "$(command -v xvfb-run || echo xvfb-run)"; do
  [ -x "$tool" ] || { echo "gui-match: $tool is missing (scripts/install-deps.sh --full installs it)" >&2; exit 1; }
done

rm -rf "$out"
mkdir -p "$out/home"
out=$(realpath "$out")
# XBoard and polyglot keep settings under $HOME: here, not in the user's.
export HOME=$out/home

cat >"$out/openings.fen" <<'EOF'
r1bqkbnr/1ppp1ppp/p1n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 0 4
rnbqkb1r/ppp2ppp/4pn2/3p4/2PP4/2N5/PP2PPPP/R1BQKBNR w KQkq - 2 4
r1bqk1nr/pppp1ppp/2n5/2b1p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4
rnbqkbnr/pp2pppp/3p4/8/3NP3/8/PPP2PPP/RNBQKB1R b KQkq - 0 4
EOF

failures=0
fail() {
  echo "gui-match: $*" >&2
  failures=$((failures + 1))
}
results=()
least_overall=""

# run_match NAME GAMES OPPONENT SECONDS TIME-CONTROL-OPTIONS...
# OPPONENT is "brix" or the command of an xboard-protocol engine; SECONDS caps
# XBoard's wall-clock time. In XBoard's debug log the engines are "first" and
# "second"; the first is always Brix.
run_match() {
  local name=$1 games=$2 opponent=$3 limit=$4
  shift 4
  local first="$polyglot -noini -log true -lf $out/$name-polyglot-1.log -ec $engine"
  local second=$opponent slots=first
  if [ "$opponent" = brix ]; then
    second="$polyglot -noini -log true -lf $out/$name-polyglot-2.log -ec $engine"
    slots="first|second"
  fi
  echo "-- $name: $games games, $*"
  local status=0
  (cd "$out" && xvfb-run -a timeout -k 10 "$limit" "$xboard" -noGUI -xexit -saveSettingsOnExit false \
    -fcp "$first" -fd "$out" -scp "$second" -sd "$out" -matchGames "$games" -matchPause 200 \
    -lpf openings.fen -lpi -1 -xponder -autoCallFlag true -adjudicateDrawMoves 50 \
    -pgnExtendedInfo true -pgnTimeLeft true -saveGameFile "$out/$name.pgn" \
    -debugMode true -nameOfDebugFile "$out/$name.debug" "$@" >"$out/$name.out" 2>&1) || status=$?
  if [ "$status" -eq 124 ]; then
    fail "$name: XBoard did not finish the match within $limit s"
  elif [ "$status" -ne 0 ]; then
    fail "$name: XBoard ended with status $status (see $out/$name.out)"
  fi
  check_games "$name" "$games"
  check_debug_log "$name" "$slots"
  local log
  for log in "$out/$name"-polyglot-*.log; do
    if [ -e "$log" ]; then check_polyglot_log "$name" "$log"; fi
  done
  local least
  least=$(least_time_left "$slots" "$out/$name.debug" 2>/dev/null || echo none)
  if [ "$least" = none ]; then
    fail "$name: no Brix move was timed in XBoard's debug log"
  else
    echo "$name: least time left on a Brix clock when its move arrived: $least ms"
    [ "$least" -gt 0 ] || fail "$name: a Brix clock ran out ($least ms left)"
    if [ -z "$least_overall" ] || [ "$least" -lt "$least_overall" ]; then least_overall=$least; fi
  fi
}

# Every game has a result, and none ends by a fault of a Brix side (a draw
# that ends by a fault counts against Brix too). One line per game goes to
# the results.
check_games() {
  local name=$1 games=$2 pgn=$out/$1.pgn report=""
  [ ! -e "$pgn" ] || report=$(awk -v name="$name" '
    function flush() {
      if (round == "") return
      fault = comment ~ /on time|flag fell|[Ii]llegal|[Ff]alse|[Ff]orfeit|exit|disconnect|crash|[Ee]rror/
      loser = result == "1-0" ? black : result == "0-1" ? white : ""
      bad = result !~ /^(1-0|0-1|1\/2-1\/2)$/ || (fault && (loser == "" || loser ~ /^Brix /))
      printf "%s game %s: %s - %s %s {%s}%s\n", name, round, white, black, result, comment, bad ? " FAULT" : ""
      round = ""
    }
    /^\[Round / { flush(); round = $2; gsub(/[]"]/, "", round); comment = ""; result = "*" }
    /^\[White / { white = substr($0, 9, length($0) - 10) }
    /^\[Black / { black = substr($0, 9, length($0) - 10) }
    # A game ends with "{termination} RESULT" on a line of its own.
    /^\{[^}]*\} (1-0|0-1|1\/2-1\/2|\*)$/ { comment = $0; sub(/^\{/, "", comment); sub(/\} [^ ]+$/, "", comment); result = $NF }
    END { flush() }
  ' "$pgn")
  [ -z "$report" ] || { echo "$report"; mapfile -t -O "${#results[@]}" results <<<"$report"; }
  local played
  played=$(grep -c " game " <<<"$report" || true)
  # XBoard saves no game without moves: its debug log tells how each ended.
  [ "$played" -eq "$games" ] ||
    fail "$name: $played of $games games saved with a result; XBoard's game ends:"$'\n'"$(grep -E '^GameEnds\([0-9]+, [^(]' "$out/$name.debug")"
  if grep -q " FAULT$" <<<"$report"; then fail "$name: a game ended by a fault of Brix or without a result"; fi
}

# XBoard rejecting a move or a claim of a Brix slot, or losing its process.
check_debug_log() {
  local name=$1 slots=$2 debug=$out/$1.debug lines
  [ -s "$debug" ] || { fail "$name: no XBoard debug log"; return; }
  lines=$(grep -E "Illegal move .*(from|by) ($slots)|($slots) chess program .*exited|Error (writing to|reading from) ($slots) chess program|False (draw|win|illegal-move) claim|Forfeit due to" "$debug" || true)
  [ -z "$lines" ] || fail "$name: XBoard's debug log:"$'\n'"$lines"
}

# Polyglot finding an illegal move, a stalled or crashed engine, or an engine
# line that is no UCI reply (such as the engine's own error replies to what
# polyglot sent).
check_polyglot_log() {
  local name=$1 log=$2 lines
  lines=$(awk '
    # After quit, polyglot waits half a second for the process to end and
    # then reports how it ended: a slower end (a Windows engine under Wine
    # takes longer to leave) is judged by that report, not by the wait.
    quit && /Waited more than 500ms\. Moving on\./ { next }
    /ILLEGAL MOVE|[Ii]llegal (engine )?move|Waited more than|wouldn.t exit|terminated with signal|exited with status [1-9]|RECURSIVE ERROR|Not a UCI engine|Could not start|unknown option/ { print; next }
    /\*\*\* "quit" from GUI \*\*\*/ { quit = 1 }
    # The closed pipe is logged as "EOF": after quit that is the engine leaving.
    / Engine->Adapter: / && !/ Engine->Adapter: (id (name|author) |uciok$|readyok$|info |bestmove )/ && !(quit && / Engine->Adapter: EOF$/)
  ' "$log")
  [ -z "$lines" ] || fail "$name: $(basename "$log"):"$'\n'"$lines"
}

# The least time in milliseconds left on the clock of a Brix slot when its
# move arrived, or "none".
least_time_left() {
  awk -v slots="^($1)$" '
    # "123 >first : time 456": at 123 ms XBoard starts that clock at 456 cs.
    /^[0-9]+ >(first|second) ?: time -?[0-9]+$/ {
      slot = $2; gsub(/[>:]/, "", slot)
      start[slot] = $1; clock[slot] = $NF * 10
    }
    /^[0-9]+ <(first|second) ?: move / {
      slot = $2; gsub(/[<:]/, "", slot)
      if (slot in start && slot ~ slots) {
        left = clock[slot] - ($1 - start[slot])
        if (least == "" || left < least) least = left
      }
      delete start[slot]
    }
    END { print least == "" ? "none" : least }
  ' "$2"
}

matches=("$@")
((${#matches[@]})) || matches=(fairymax tight session)
for match in "${matches[@]}"; do
  case $match in
    fairymax) run_match fairymax 2 "$fairymax" 150 -tc 0:20 -inc 0 ;;
    tight) run_match tight 2 brix 240 -tc 0:01 -inc 1 ;;
    session) run_match session 2 brix 120 -mps 10 -tc 0:05 ;;
    short) run_match short 1 "$fairymax" 90 -tc 0:20 -inc 0 ;;
    *) echo "gui-match: no match named $match" >&2; exit 2 ;;
  esac
done

echo "-- all games"
printf '%s\n' "${results[@]}"
echo "Least time left on a Brix clock when its move arrived, over all games: ${least_overall:-none} ms"
if [ "$failures" -ne 0 ]; then
  echo "gui-match: $failures check(s) failed; logs in $out" >&2
  exit 1
fi
echo "gui-match: every game ended without a fault of the engine; logs in $out"
