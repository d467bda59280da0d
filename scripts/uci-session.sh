# SPDX-License-Identifier: GPL-3.0-or-later
# Talks UCI to one engine process from a script, as a GUI does. Source it,
# then:
#   uci_start COMMAND...   starts the engine with pipes on its standard input
#                          and output
#   uci_ask LINE [PREFIX]  sends LINE and echoes it as "> LINE"; with PREFIX,
#                          echoes the engine's lines up to the first that
#                          starts with PREFIX, and fails when none comes
#                          within $uci_wait seconds
#   uci_end                closes the engine's input and waits for it; returns
#                          its exit status
uci_wait=${uci_wait:-10}

uci_start() {
  coproc UCI_ENGINE { exec "$@"; }
  uci_pid=$UCI_ENGINE_PID
  uci_to=${UCI_ENGINE[1]}
  uci_from=${UCI_ENGINE[0]}
}

uci_ask() {
  echo "> $1"
  echo "$1" >&"$uci_to"
  [ -n "${2:-}" ] || return 0
  local line
  while IFS= read -r -t "$uci_wait" line <&"$uci_from"; do
    echo "$line"
    [[ "$line" == "$2"* ]] && return 0
  done
  echo "no line starting with '$2' within $uci_wait s" >&2
  return 1
}

uci_end() {
  exec {uci_to}>&-
  local status=0
  wait "$uci_pid" || status=$?
  return "$status"
}
