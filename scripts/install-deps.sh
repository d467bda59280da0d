#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs, from Debian's archive, whatever this machine lacks to build the
# engine and run its tests; with --full, also what the whole CI pipeline
# (scripts/ci.sh) needs. Safe to run again: present packages are left alone.
#   scripts/install-deps.sh [--full]
set -euo pipefail

packages=(g++ make cmake libboost-dev libgtest-dev libbenchmark-dev)
if [[ ${1:-} == --full ]]; then
  # clang-format for the formatting check; GoogleTest's sources for the
  # checked-mode build; clang and its runtime for the fuzzers; valgrind for
  # memcheck; what CPack needs for the Debian package's dependencies
  # (scripts/package.sh); the GUI stage's XBoard, polyglot adapter, virtual X
  # display and opponent, Fairy-Max (scripts/gui-match.sh).
  packages+=(clang-format googletest clang libclang-rt-14-dev valgrind dpkg-dev file xboard polyglot xvfb xauth fairymax)
  # The Windows stage (scripts/windows-check.sh): the mingw-w64 cross
  # compilers with posix threads, Wine to run what they build, unzip for the
  # ZIP.
  packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 unzip)
  # The WebAssembly stage (scripts/wasm-check.sh): emscripten; Node and npm
  # from Debian only where no node or npm command is found.
  packages+=(emscripten)
  command -v node >/dev/null || packages+=(nodejs)
  command -v npm >/dev/null || packages+=(npm)
  # Debian's Chromium, which the browser stage drives headless (scripts/web-check.sh).
  packages+=(chromium)
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
