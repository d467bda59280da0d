#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The soak run of build/'s tests with its output kept in LOG: prints the
# run's summary line when it passes, the log's tail when it fails (and exits
# non-zero). The engine and the run come from the environment as the soak
# test reads them: BRIX_ENGINE, BRIX_ENGINE_CRLF, BRIX_SOAK_SECONDS (60 here
# unless set), BRIX_SOAK_SEED, BRIX_SOAK_MEMORY.
#   scripts/soak-run.sh LOG
set -euo pipefail
cd "$(dirname "$0")/.."
log=$1
if ! BRIX_SOAK_SECONDS=${BRIX_SOAK_SECONDS:-60} ctest --test-dir build -V -C soak -L soak --timeout 300 >"$log" 2>&1; then
  tail -n 80 "$log"
  exit 1
fi
grep -E "soak: |tests passed" "$log"
