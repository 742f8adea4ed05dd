#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Ravel need.
# Skips apt-get entirely when everything is already there.
set -euo pipefail
packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev
          libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libpng-dev zlib1g-dev
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth libxtst6
          openbox xdotool x11-utils doxygen)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
