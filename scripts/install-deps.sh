#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building, running and testing
# Quarnet need; does nothing (and needs no network) when all are present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config dpkg-dev
  qt6-base-dev libgl-dev
  libgtest-dev libbenchmark-dev
  xvfb libx11-dev libxtst-dev
  fonts-wqy-microhei
  clang libclang-rt-dev
  g++-mingw-w64-x86-64-posix wine wine64
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
