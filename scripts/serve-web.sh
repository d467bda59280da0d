#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Serves the page (build-wasm/web/, built by the wasm preset) on localhost,
# with the two headers that make it cross-origin isolated, and prints its
# address. --no-isolation serves it without them, as a static host that
# cannot set headers would (the page then isolates itself through its
# service worker).
#   scripts/serve-web.sh [--port N] [--no-isolation] [--root DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
site=$root/build-wasm/web
args=()
while (($#)); do
  case $1 in
    --root) site=$2; shift 2 ;;
    --port | --no-isolation) args+=("$1"); [[ $1 == --port ]] && { args+=("$2"); shift; }; shift ;;
    *) echo "usage: $0 [--port N] [--no-isolation] [--root DIR]" >&2; exit 2 ;;
  esac
done
if [[ ! -f $site/index.html ]]; then
  echo "No page in $site: build it with cmake --preset wasm && cmake --build build-wasm -j2" >&2
  exit 1
fi
exec node "$root/web/server.mjs" --root "$site" "${args[@]}"
