#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that Quarnet needs; does nothing (and
# needs no network) when all are present.
#   install-deps.sh        what building and running the program needs
#   install-deps.sh test   that, and what every test, fuzz target, the
#                          Windows cross-build and the packages' guide
#                          pages need
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libstb-dev zlib1g-dev
  fonts-arphic-uming fonts-wqy-microhei
)
if [[ "${1:-}" == "test" ]]; then
  packages+=(
    libgtest-dev libbenchmark-dev
    xvfb libx11-dev libxtst-dev dpkg-dev strace
    lintian appstream desktop-file-utils python3-markdown
    clang libclang-rt-dev
    g++-mingw-w64-x86-64-posix wine wine64 nsis
  )
fi

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
