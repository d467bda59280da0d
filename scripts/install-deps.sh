#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the engine's build and checks need
# and this machine lacks. Safe to run again: present packages are left alone.
set -euo pipefail

# The second line: what CPack needs for the Debian package's dependencies
# (scripts/package.sh), then the GUI stage's XBoard, polyglot adapter,
# virtual X display and opponent, Fairy-Max (scripts/gui-match.sh).
packages=(g++ make cmake libboost-dev libgtest-dev libbenchmark-dev clang libclang-rt-14-dev valgrind
  dpkg-dev file xboard polyglot xvfb xauth fairymax)
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
