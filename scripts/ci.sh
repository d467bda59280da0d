#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole pipeline that CI runs (.ci/run), about 40 minutes on two cores:
# the quick check (scripts/run-tests.sh), then every other build kind and
# check. Installs what is missing first; exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh --full

echo "== Formatting: the sources as .clang-format writes them"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

scripts/run-tests.sh

echo "== Debian package: built, installed with apt-get, one session with the installed engine, removed"
scripts/package-check.sh build

echo "== GUI matches: XBoard and polyglot, against Fairy-Max and against itself"
scripts/gui-match.sh build/app/brix build/gui-match

echo "== Windows: brix.exe cross-built, checked under Wine, the ZIP"
scripts/windows-check.sh

echo "== WebAssembly: the Node UCI program, the interface, the npm package"
scripts/wasm-check.sh

echo "== The page in headless Chromium"
scripts/web-check.sh

# A build of another kind: the default test run, then the same output as the
# Release build over the comparison's quick workload.
other_build() {
  local preset=$1 dir=$2
  cmake --preset "$preset" >/dev/null
  cmake --build "$dir" -j"$jobs"
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure --timeout 900
  scripts/compare-output.sh build/app/brix "$dir/app/brix" quick
}

echo "== The board's map through std::map's interface only"
other_build portable-map build-portable

echo "== libstdc++'s checked mode, which checks every iterator the engine touches"
other_build checked build-checked

echo "== Profile-guided build: the end-to-end tests, and the same output as the Release build"
scripts/pgo-build.sh build-pgo
cmake --build build-pgo -j"$jobs"
ctest --test-dir build-pgo -j"$jobs" --output-on-failure -L e2e --timeout 300
scripts/compare-output.sh build/app/brix build-pgo/app/brix quick

echo "== Soak run, short (one engine, about a minute of mixed sequences)"
scripts/soak-run.sh build/soak.log

echo "== Valgrind memcheck of a short session"
scripts/memcheck.sh build/app/brix

echo "== Fuzzing: each target for a short bounded time"
scripts/fuzz.sh 60

echo "== AddressSanitizer and UBSan build: the default test run and a short soak"
# Reports go to files, from the test binaries and from every engine they
# start; any report fails the stage, even one whose test passed.
(
  reports="$PWD/build-asan/sanitizer-reports"
  rm -rf "$reports"
  cmake --preset asan-ubsan >/dev/null
  cmake --build build-asan -j"$jobs"
  mkdir -p "$reports"
  export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1"
  export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1"
  status=0
  ctest --test-dir build-asan -j"$jobs" --output-on-failure --timeout 600 || status=$?
  BRIX_SOAK_SECONDS=30 BRIX_SOAK_MEMORY=off ctest --test-dir build-asan --output-on-failure -C soak -L soak --timeout 300 ||
    status=$?
  if compgen -G "$reports/*" >/dev/null; then
    cat "$reports"/*
    echo "sanitizer reports above" >&2
    status=1
  fi
  exit "$status"
)

echo "== ThreadSanitizer build and the end-to-end tests"
# The engine's threads (command loop, search, timer) under the race detector.
# A report ends the engine with status 66, which the tests check on every exit.
cmake --preset tsan >/dev/null
cmake --build build-tsan -j"$jobs"
TSAN_OPTIONS=halt_on_error=1:exitcode=66 ctest --test-dir build-tsan -j"$jobs" --output-on-failure -L e2e --timeout 300
