#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the engine's Debian package, brix_VERSION_ARCH.deb, with CPack in a
# build directory (configured as a Release build when it is new) and prints
# its path and size. The package holds what cmake --install installs: the
# engine, its manual page and its documents, under /usr.
# Usage: scripts/package.sh [build directory, default build]
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:-build}
for tool in dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null ||
    { echo "package.sh: $tool is missing (dpkg-dev and file; scripts/install-deps.sh --full installs them)" >&2; exit 1; }
done
[ -f "$dir/CMakeCache.txt" ] || cmake --preset release -B "$dir" >/dev/null
cmake --build "$dir" -j"$(nproc)"
rm -f "$dir"/brix_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/brix_*.deb)
echo "$deb: $(stat -c %s "$deb") bytes"
