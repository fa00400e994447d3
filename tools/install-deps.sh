#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building, testing and running
# helidisk need, and only those that are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev libgl-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-tidy clang-format libclang-rt-14-dev
  xvfb xauth
  hyperfine
  help2man dpkg-dev file
)
# Callers with needs of their own (the screenshot, the package test) name
# further packages.
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "helidisk: installing missing build packages: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "helidisk: need root or sudo to install packages" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
