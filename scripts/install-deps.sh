#!/usr/bin/env bash
# Installs the Debian packages Vantorel needs, when missing: with "build", only what building
# the program and its Debian package takes; with "windows", what building the Windows packages
# takes (Qt for Windows from Debian's source, MinGW-w64, the icon tools, NSIS for the setup
# program, groff for the command line's manual page as text); with nothing, also what the
# tests, the Windows leg under Wine, fuzzing and looking at the windows take.
set -euo pipefail

packages=(build-essential cmake qt6-base-dev libgl-dev libglx-dev libopengl-dev libfontconfig-dev
          librsvg2-bin file fonts-liberation)
windows=(g++-mingw-w64-x86-64-posix imagemagick ninja-build dpkg-dev xz-utils nsis groff-base)
case ${1:-} in
  build) ;;
  windows) packages+=("${windows[@]}") ;;
  *) packages+=("${windows[@]}" xvfb xauth xdotool desktop-file-utils appstream doctest-dev wine64
                clang-14 libclang-rt-14-dev llvm-14) ;; # fuzzing: clang, its libFuzzer runtime, llvm-symbolizer
esac
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
