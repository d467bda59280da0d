#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program of the build under Wine, as a console program with
# its standard streams as they are (pipes stay pipes):
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENT...]
# Wine prints nothing of its own (WINEDEBUG=-all: Debian's wine script would
# write hints to standard error) and uses a prefix of the build's own,
# $WINEPREFIX or build-windows/wine-prefix, made on first use (a few seconds;
# concurrent first uses wait for one another). Every start costs about three
# seconds unless a wineserver is kept running for the prefix: the Windows
# stage (scripts/windows-check.sh) keeps one with `wineserver -p`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wine-prefix}
# No Mono or Gecko: a console engine needs neither, and fetching them is
# neither possible nor wanted.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot -i >/dev/null 2>&1 </dev/null
      wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
