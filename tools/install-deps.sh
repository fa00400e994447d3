#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building, testing and running
# helidisk need, and only those that are missing.
set -euo pipefail

# qt6-charts-dev's CMake package needs Qt's OpenGL one, which Debian 12
# leaves out of its dependencies.
packages=(
  cmake ninja-build g++ make pkg-config locales
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libxcb1-dev nlohmann-json3-dev libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-tidy clang-format libclang-rt-14-dev python3 ccache
  xvfb xauth
  libcfitsio-dev libexif-dev liberfa-dev libwebp-dev libjpeg-dev zlib1g-dev qt6-image-formats-plugins
  hyperfine time
  help2man dpkg-dev file
  fonts-dejavu-core poppler-utils
)
# Callers with needs of their own (the screenshot, the package test) name
# further packages.
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
# The tests read numbers under a German locale, whose decimal comma must not
# reach files or the readout.
test_locale=de_DE.UTF-8
locale_missing=false
locale -a 2>/dev/null | grep -qix 'de_DE.utf8' || locale_missing=true
[[ ${#missing[@]} -eq 0 && $locale_missing == false ]] && exit 0

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "helidisk: need root or sudo to install packages" >&2; exit 1; }
  sudo=(sudo)
fi
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "helidisk: installing missing build packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [[ $locale_missing == true ]]; then
  echo "helidisk: generating the $test_locale locale for the tests"
  "${sudo[@]}" localedef -i de_DE -f UTF-8 "$test_locale"
fi
