#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package (scripts/package.sh), installs it with apt-get as
# a user would, and talks to the installed /usr/bin/brix: uci, isready,
# position startpos moves e2e4, go depth 3. Its answers must be those of the
# engine in the build directory (nps aside), with the package's version in
# the id name line. Then removes the package and checks that the engine, its
# manual page and its documents are gone. Needs root or sudo; a brix package
# installed before is replaced, and removed at the end.
# Usage: scripts/package-check.sh [build directory, default build]
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:-build}
scripts/package.sh "$dir"
deb=$(realpath "$dir"/brix_*.deb)
installed=(/usr/bin/brix /usr/share/man/man6/brix.6 /usr/share/doc/brix)
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
remove() { "${as_root[@]}" apt-get remove -y -qq --purge brix >/dev/null; }
# Whatever happens, the package does not stay installed.
trap 'remove 2>/dev/null || true' EXIT

source scripts/uci-session.sh
session() {
  uci_start "$1"
  uci_ask "uci" "uciok"
  uci_ask "isready" "readyok"
  uci_ask "position startpos moves e2e4"
  uci_ask "go depth 3" "bestmove "
  uci_ask "quit"
  uci_end
}

# The engine, its manual page and its documents, and nothing else: no
# libraries, headers, tests or benchmark.
others=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' |
  grep -vxE '\./usr/(bin/brix|share/man/man6/brix\.6|share/doc/brix/(README\.md|copyright))' || true)
[ -z "$others" ] || { echo "package-check: the package holds more than it should:"$'\n'"$others" >&2; exit 1; }

"${as_root[@]}" apt-get install -y -qq "$deb" >/dev/null
for path in "${installed[@]}"; do
  [ -e "$path" ] || { echo "package-check: $path was not installed" >&2; exit 1; }
done
echo "Installed $(dpkg-query -W -f='${Package} ${Version}, depends on ${Depends}' brix)"
installed_session=$(session /usr/bin/brix)
echo "$installed_session"
grep -qE '^bestmove [a-h][1-8][a-h][1-8][nbrq]?$' <<<"$installed_session" ||
  { echo "package-check: no bestmove line with a move" >&2; exit 1; }
version=$(dpkg-deb -f "$deb" Version)
grep -qF "id name Brix $version (" <<<"$installed_session" ||
  { echo "package-check: the id name line does not carry the package's version $version" >&2; exit 1; }
without_nps() { sed -E 's/ nps [0-9]+ / /'; }
if ! diff <(without_nps <<<"$installed_session") <(session "$dir/app/brix" | without_nps); then
  echo "package-check: the installed engine answered otherwise than $dir/app/brix" >&2
  exit 1
fi

remove
for path in "${installed[@]}"; do
  [ ! -e "$path" ] || { echo "package-check: $path is still there after the removal" >&2; exit 1; }
done
if dpkg-query -W -f='${Status}' brix 2>/dev/null | grep -q "ok installed"; then
  echo "package-check: dpkg still lists brix as installed" >&2
  exit 1
fi
echo "package-check: installed, answered and removed"
