#!/usr/bin/env bash
# Installs the Debian packages Vantorel needs, when missing, for the sets named:
#   build     building the program and its Debian package, and configuring its tests
#   test      also running the tests of the Linux build (and looking at the windows)
#   fuzz      the fuzzing build: the release's clang, its libFuzzer runtime and llvm-symbolizer
#   windows   building the Windows packages: Qt for Windows from Debian's source, MinGW-w64,
#             the icon tools, NSIS for the setup program, groff for the manual page as text
#   wine      running the Windows build's tests
#   debian13  making the Debian 13 system the debian13 test leg runs in
# Every set brings the build set too; with no set named, all of them.
#   scripts/install-deps.sh [SET...]
set -euo pipefail
. "$(dirname "$0")/debian.sh"

packages_of() {
  case $1 in
    build) echo build-essential cmake qt6-base-dev libgl-dev libglx-dev libopengl-dev libfontconfig-dev \
                librsvg2-bin file fonts-liberation doctest-dev ;;
    test) echo xvfb xauth xdotool desktop-file-utils appstream dpkg-dev ;;
    fuzz) local llvm
          llvm=$(debian_llvm_version) || return 1
          echo "clang-$llvm libclang-rt-$llvm-dev llvm-$llvm" ;;
    windows) echo g++-mingw-w64-x86-64-posix imagemagick ninja-build dpkg-dev xz-utils nsis groff-base ;;
    wine) echo wine64 ;;
    debian13) echo debootstrap ;;
    *) echo "scripts/install-deps.sh: no set '$1' (build, test, fuzz, windows, wine, debian13)" >&2
       return 1 ;;
  esac
}

sets=(build "$@")
[[ $# -eq 0 ]] && sets=(build test fuzz windows wine debian13)
packages=()
for set in "${sets[@]}"; do
  list=$(packages_of "$set") || exit 2
  read -r -a words <<<"$list"
  packages+=("${words[@]}")
done

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0
# Each set may name a package another set named too: install each once.
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | awk '!seen[$0]++')

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
