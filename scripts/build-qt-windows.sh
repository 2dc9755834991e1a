#!/usr/bin/env bash
# Builds the static Qt for Windows that vantorel.exe links, from Debian's own qt6-base source
# of the version the Linux build uses, with MinGW-w64, and installs it into a cache folder
# outside the tree named by that version and a hash of the configuration. Prints the folder.
# Beside Qt the folder keeps what the Windows packages pass on: in share/doc/qt Qt's licences,
# Debian's copyright file, the settings it was built with and one text per library Qt bundles
# (third-party/), and in src/ the exact source package files it was built from.
# Does nothing but print it when that folder is complete; a build that stopped half-way is
# never taken for a complete one (the folder only gets its final name once installed), and a
# folder that lacks only the texts and the source gets them without building Qt again.
#   scripts/build-qt-windows.sh            (progress on standard error, the folder on standard output)
set -euo pipefail
say() { echo "build-qt-windows: $*" >&2; }

version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null) \
  || { say "qt6-base-dev is not installed (scripts/install-deps.sh windows)"; exit 1; }

# What Qt is made of: any change here names another cache folder. Left out: what the
# program does not use (OpenGL, Vulkan, network, SQL, D-Bus, XML, printing, Concurrent).
# Debian's source has no Wintab header, which tablet events need, and with OpenGL off Qt
# 6.4 still turns dynamic GL on, which the Windows plugin then fails to compile.
features=(
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64
  -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix
  -DCMAKE_RC_COMPILER=x86_64-w64-mingw32-windres -DCMAKE_FIND_ROOT_PATH=/usr/x86_64-w64-mingw32
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
  -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release -DFEATURE_static_runtime=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_tabletevent=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_jpeg=OFF
  -DFEATURE_directwrite=ON -DFEATURE_direct2d=ON
)
# The entries of Qt's third-party list that the build above leaves out of Qt; every other
# library the list names goes into vantorel.exe and gets its licence text.
left_out=(
  VulkanMemoryAllocator vulkan-xml-spec        # Vulkan is off
  opengl-headers opengl-es2-headers            # OpenGL is off
  libjpeg                                      # JPEG is off
  libpsl psl                                   # network is off
  libdbus-1-headers                            # D-Bus is off
  valgrind cycle linuxperf                     # Qt Test: only the tests link it
  forkfd xcb-xinput pixman                     # Unix, X11, ARM NEON
  android-native-style android-gradle-wrapper  # Android
  vera_font dejayvu                            # WebAssembly
  qeventdispatcher_cf cocoa-platform-plugin    # macOS
)
compiler=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
hash=$( { printf '%s\n' "$version" "$compiler" "${features[@]}"; } | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/vantorel
prefix=$cache/qt-${version//[^A-Za-z0-9.]/_}-mingw-static-$hash

# What a program that ships this Qt must pass on: its licences and copyright notices, those of
# the libraries it bundles, and its source with the settings it was built with.
document_qt() {
  local docs=$work/doc
  mkdir -p "$docs" "$work/src"
  cp "$work/source/qtbase/LICENSES/"* "$docs/"
  cp "$work/source/qtbase/debian/copyright" "$docs/copyright.txt"
  {
    echo "Qt ${version%%+*} for Windows, built as a static library from Debian's qt6-base source"
    echo "package, version $version ($uri, suite $suite):"
    (cd "$work/source" && printf '  %s\n' qt6-base_*)
    echo "with these settings:"
    printf '  %s\n' "${features[@]}"
  } >"$docs/SOURCE.txt"
  cmake -DQT_SOURCE="$work/source/qtbase" -DLEFT_OUT="$(IFS=';'; echo "${left_out[*]}")" -DOUTPUT="$docs/third-party" \
        -P "$notices_script" >&2
  cp "$work/source"/qt6-base_* "$work/src/"
  # Texts a build may be reading are swapped, not removed first.
  mkdir -p "$prefix/share/doc" "$work/old"
  [[ -d $prefix/src ]] && mv "$prefix/src" "$work/old/src"
  mv "$work/src" "$prefix/src"
  [[ -d $prefix/share/doc/qt ]] && mv "$prefix/share/doc/qt" "$work/old/doc"
  mv "$docs" "$prefix/share/doc/qt"
  echo "$texts_made_by" >"$prefix/share/doc/vantorel-texts"
}

notices_script=$(dirname "$0")/../cmake/QtThirdPartyNotices.cmake
# What made the texts: they are made again, without building Qt, when that changes. Their
# mark is written last, after the texts and the source files are in place.
texts_made_by=$( { declare -f document_qt; printf '%s\n' "${left_out[@]}"; cat "$notices_script"; } \
                 | sha256sum | cut -c1-12)
built() { [[ -f $prefix/lib/cmake/Qt6/Qt6Config.cmake ]]; }
documented() { [[ $(cat "$prefix/share/doc/vantorel-texts" 2>/dev/null) == "$texts_made_by" ]]; }
if built && documented; then
  say "Qt for Windows is there: $prefix"
  echo "$prefix"
  exit 0
fi

work=$cache/work-$hash
rm -rf "$work" "$prefix.partial"
mkdir -p "$work/source" "$work/lists/partial"

# A private deb-src list made from the machine's own Debian archive, so that nothing of the
# system's apt configuration changes and the project names no mirror.
. "$(dirname "$0")/debian.sh"
read -r uri suite key < <(debian_archive) || exit 1
mkdir -p "$work/sources.list.d"
printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\n%s\n' \
  "$uri" "$suite" "${key:+Signed-By: $key}" >"$work/sources.list.d/qt.sources"
: >"$work/sources.list"
apt_options=(-o "Dir::Etc::SourceList=$work/sources.list" -o "Dir::Etc::SourceParts=$work/sources.list.d"
             -o "Dir::State::Lists=$work/lists" -o "APT::Sandbox::User=root")
say "fetching Debian's qt6-base $version source from $uri $suite"
apt-get "${apt_options[@]}" -qq update
(cd "$work/source" && apt-get "${apt_options[@]}" -qq source --download-only "qt6-base=$version" >/dev/null)
say "unpacking the source with Debian's patches"
# The .dsc's own signature cannot be checked without the uploader's key; its checksums were,
# through the signed index apt fetched it by.
dpkg-source --no-check -x "$work/source"/qt6-base_*.dsc "$work/source/qtbase" >/dev/null 2>&1

build_qt() {
  say "configuring a static Qt for x86_64-w64-mingw32 in $work/build"
  cmake -S "$work/source/qtbase" -B "$work/build" -G Ninja -Wno-dev \
        -DCMAKE_INSTALL_PREFIX="$prefix.partial" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
        "${features[@]}" >"$work/configure.log" 2>&1 \
    || { tail -n 40 "$work/configure.log" >&2; say "configure failed: $work/configure.log"; exit 1; }

  say "building (about 25 minutes on two cores; ninja shows [done/total] steps)"
  # Every 50th of ninja's [done/total] steps is shown, and every failure.
  NINJA_STATUS='[%f/%t] ' cmake --build "$work/build" -j"$(nproc)" 2>&1 \
    | awk '/^\[[0-9]+\/[0-9]+\] / { if (++steps % 50 == 0) { print "build-qt-windows: " $1; fflush() } next }
           /error:|FAILED/ { print; fflush() }' >&2
  [[ ${PIPESTATUS[0]} -eq 0 ]] || { say "the build failed"; exit 1; }
  cmake --install "$work/build" >/dev/null
  mv "$prefix.partial" "$prefix"
}

built || build_qt
document_qt
rm -rf "$work"
say "Qt for Windows installed: $prefix"
echo "$prefix"
