#!/usr/bin/env bash
# Installs the Debian packages Vantorel needs to build, test and look at, when missing.
set -euo pipefail

packages=(build-essential cmake qt6-base-dev libgl-dev libglx-dev libopengl-dev
          fonts-liberation xvfb xauth xdotool imagemagick
          librsvg2-bin file desktop-file-utils appstream
          doctest-dev g++-mingw-w64-x86-64-posix wine64
          clang-14 libclang-rt-14-dev llvm-14) # fuzzing: clang, its libFuzzer runtime, llvm-symbolizer
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
