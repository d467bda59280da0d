#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows stage: brix.exe cross-built with mingw-w64 (the windows preset,
# build-windows/) and checked under Wine as the Linux build is checked:
#   1. the import table: Windows' own DLLs only, nothing of the compiler's;
#   2. the unit tests, cross-built, under Wine (ctest --test-dir build-windows);
#   3. the Linux build's end-to-end suite driving brix.exe under Wine, every
#      line ending in CR LF;
#   4. the same output as build/app/brix over the comparison's full workload;
#   5. a one-minute soak run against brix.exe;
#   6. one XBoard game through polyglot, brix.exe under Wine against Fairy-Max;
#   7. the ZIP (cpack -G ZIP), unpacked, and a UCI session with its brix.exe.
# Builds build/ (the Linux Release build, whose test drivers run the checks)
# when it is missing. One wineserver is kept for the stage, so that each start
# of the engine costs a fraction of a second instead of about three.
#   scripts/windows-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)
scripts/install-deps.sh --full

if [ ! -x build/app/brix ] || [ ! -x build/tests/e2e_tests ]; then
  cmake --preset release >/dev/null
  cmake --build build -j"$jobs"
fi
echo "-- build: the windows preset"
cmake --preset windows >/dev/null
cmake --build --preset windows

exe=$root/build-windows/app/brix.exe
echo "-- brix.exe: $(stat -c %s "$exe") bytes; the DLLs it imports:"
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }')
echo "$dlls" | sed 's/^/   /'
foreign=$(echo "$dlls" | grep -viE '^(kernel32|msvcrt|ucrtbase|user32|advapi32|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$' || true)
[ -z "$foreign" ] || { echo "windows-check: brix.exe imports DLLs that Windows does not have: $foreign" >&2; exit 1; }

export WINEDEBUG=-all WINEPREFIX=$root/build-windows/wine-prefix
# The prefix first (scripts/wine-run.sh makes it), then one server for all.
scripts/wine-run.sh cmd /c exit >/dev/null 2>&1 </dev/null || true
# (It exits with status 2 when one already runs for the prefix.)
wineserver -p >/dev/null 2>&1 </dev/null || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
engine="$root/scripts/wine-run.sh $exe"

# Wine now and then fails to start a process at all (no output, a few
# hundredths of a second; once in a few hundred starts here), so a test that
# fails under Wine gets another run; a real failure fails every run. The
# Linux and Node runs of the same suites are never repeated.
echo "-- unit tests under Wine"
ctest --test-dir build-windows -j"$jobs" --output-on-failure --timeout 300 --repeat until-pass:3

echo "-- the end-to-end suite against brix.exe under Wine (CR LF line ends)"
BRIX_ENGINE=$engine BRIX_ENGINE_CRLF=1 ctest --test-dir build -j"$jobs" --output-on-failure -L e2e --timeout 300 \
  --repeat until-pass:2

echo "-- the same output as the Linux build"
scripts/compare-output.sh build/app/brix "$engine" full

echo "-- soak run against brix.exe, a minute"
BRIX_ENGINE=$engine BRIX_ENGINE_CRLF=1 scripts/soak-run.sh build-windows/soak.log

echo "-- one XBoard game through polyglot, brix.exe under Wine against Fairy-Max"
# polyglot takes the engine as one program: a launcher of the build's own.
launcher=$root/build-windows/brix-wine
printf '#!/bin/sh\nexec %s "%s"\n' "$root/scripts/wine-run.sh" "$exe" >"$launcher"
chmod +x "$launcher"
scripts/gui-match.sh "$launcher" build-windows/gui-match short

echo "-- the ZIP, unpacked, and a session with its brix.exe"
(cd build-windows && rm -f brix-*-win64.zip && cpack -G ZIP >/dev/null)
zip=$(ls build-windows/brix-*-win64.zip)
echo "   $zip: $(stat -c %s "$zip") bytes"
unpacked=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
folder=$(basename "$zip" .zip)
listing=$(cd "$unpacked" && find . -type f | sort | tr '\n' ' ')
[ "$listing" = "./$folder/COPYING ./$folder/README.md ./$folder/brix.exe " ] ||
  { echo "windows-check: the ZIP holds $listing" >&2; exit 1; }
# shellcheck source=scripts/uci-session.sh
source scripts/uci-session.sh
uci_wait=30
uci_start "$root/scripts/wine-run.sh" "$unpacked/$folder/brix.exe"
uci_ask uci uciok
uci_ask isready readyok
uci_ask "position startpos moves e2e4"
uci_ask "go depth 3" "bestmove "
uci_ask quit
uci_end
echo "-- windows-check: all passed"
