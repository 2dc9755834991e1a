#!/usr/bin/env bash
# Makes the Windows packages, the portable vantorel-<version>-windows-x64.zip and the setup
# program vantorel-<version>-windows-x64-setup.exe, and their source,
# vantorel-<version>-source.tar.xz: Qt for Windows first when the cache lacks it
# (scripts/build-qt-windows.sh), then the whole program built with MinGW-w64 in
# build-windows-package/, then the packages and the source archive. Prints where they land.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh windows
qt=$(scripts/build-qt-windows.sh)
cmake -S . -B build-windows-package -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DVANTOREL_QT_WINDOWS="$qt" \
      -DBUILD_TESTING=OFF -DVANTOREL_BENCH=OFF
cmake --build build-windows-package -j"$(nproc)" --target windows_zip windows_setup windows_source
echo "Windows package: $(ls "$PWD"/build-windows-package/vantorel-*-windows-x64.zip)"
echo "Windows setup program: $(ls "$PWD"/build-windows-package/vantorel-*-windows-x64-setup.exe)"
echo "Their source: $(ls "$PWD"/build-windows-package/vantorel-*-source.tar.xz)"
