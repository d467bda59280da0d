#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The WebAssembly stage, runnable alone: builds the wasm preset (and the
# Linux build whose tests drive it), runs the end-to-end suite, the output
# comparison in full mode and a one-minute soak against the Node UCI program,
# the Node test of the JavaScript interface, then packs the npm package,
# installs the tarball into an empty folder and runs its bin through a UCI
# session.
#   scripts/wasm-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh --full
export NODE_PATH=/usr/share/nodejs
if [[ ! -x build/app/brix || ! -x build/tests/e2e_tests ]]; then
  cmake --preset release && cmake --build build -j2
fi
cmake --preset wasm && cmake --build --preset wasm
engine="node $root/build-wasm/npm/bin/brix.js"

echo "== end-to-end suite against $engine"
BRIX_ENGINE=$engine ctest --test-dir build -L e2e -j2 --output-on-failure
echo "== output comparison, full"
scripts/compare-output.sh build/app/brix "$engine" full
echo "== soak, one minute"
BRIX_ENGINE=$engine scripts/soak-run.sh build-wasm/soak.log
echo "== the JavaScript interface"
node --test js/test/

echo "== npm pack, install, run the bin"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && npm pack --silent "$root/build-wasm/npm" >/dev/null)
mkdir "$tmp/install"
(cd "$tmp/install" && npm init -y >/dev/null && npm install --silent --no-audit --no-fund "$tmp"/brix-*.tgz)
ls -l "$tmp"/brix-*.tgz
# shellcheck source=scripts/uci-session.sh
source scripts/uci-session.sh
uci_start node "$tmp/install/node_modules/brix/bin/brix.js"
uci_ask uci uciok
uci_ask isready readyok
uci_ask "position startpos moves e2e4"
# Not in a pipeline: a subshell does not have the engine's pipes.
uci_ask "go depth 3" bestmove >"$tmp/session.txt"
cat "$tmp/session.txt"
grep -Eq '^bestmove [a-h][1-8][a-h][1-8]' "$tmp/session.txt"
uci_ask quit
uci_end
echo "wasm check passed"
