#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser stage: builds the page with the WebAssembly engine, serves it
# and plays it in Debian's Chromium, headless (web/test/page.test.mjs):
# loading, a whole game by mouse, an analysis, and the page served without
# the isolation headers. Screenshots go to build-wasm/web-screenshots/.
#   scripts/web-check.sh
# BRIX_ENGINE_NPM_DIR=DIR builds only the page, against the engine's browser
# files in DIR, instead of the whole wasm preset.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

scripts/install-deps.sh --full
command -v npm >/dev/null || { echo "web-check: npm is missing (Node 20 or later)" >&2; exit 1; }
(cd web && npm ci --no-audit --no-fund)

if [[ -n ${BRIX_ENGINE_NPM_DIR:-} ]]; then
  cmake -S web -B build-wasm/web-alone -DBRIX_ENGINE_NPM_DIR="$(realpath "$BRIX_ENGINE_NPM_DIR")" \
    -DBRIX_WEB_SITE_DIR="$PWD/build-wasm/web"
  cmake --build build-wasm/web-alone
else
  cmake --preset wasm
  cmake --build build-wasm -j2
fi

# The tests serve the site themselves and close the browser when they end; a
# process group of their own makes sure nothing outlives this script.
status=0
set -m
BRIX_WEB_SITE=$PWD/build-wasm/web BRIX_WEB_SCREENSHOTS=$PWD/build-wasm/web-screenshots \
  timeout 900 node --test web/test/ &
tests=$!
trap 'kill -- -$tests 2>/dev/null || true' EXIT INT TERM
wait $tests || status=$?
trap - EXIT INT TERM
kill -- -$tests 2>/dev/null || true
echo "web-check: $((SECONDS - start)) s, status $status; screenshots in build-wasm/web-screenshots/"
exit $status
