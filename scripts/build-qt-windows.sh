#!/usr/bin/env bash
# Builds the static Qt for Windows that vantorel.exe links, from Debian's own qt6-base source
# of the version the Linux build uses, with MinGW-w64, and installs it into a cache folder
# outside the tree named by that version and a hash of the configuration. Prints the folder.
# Does nothing but print it when that folder is complete; a build that stopped half-way is
# never taken for a complete one (the folder only gets its final name once installed).
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
compiler=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
hash=$( { printf '%s\n' "$version" "$compiler" "${features[@]}"; } | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/vantorel
prefix=$cache/qt-${version//[^A-Za-z0-9.]/_}-mingw-static-$hash

if [[ -f $prefix/lib/cmake/Qt6/Qt6Config.cmake ]]; then
  say "Qt for Windows is there: $prefix"
  echo "$prefix"
  exit 0
fi

work=$cache/work-$hash
rm -rf "$work" "$prefix.partial"
mkdir -p "$work/source" "$work/lists/partial"

# A private deb-src list made from the machine's own Debian source, so that nothing of the
# system's apt configuration changes and the project names no mirror.
debian_source() {
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -f $file ]] || continue
    awk -v RS= '/(^|\n)Types:[^\n]*deb/ && /(^|\n)URIs:[^\n]*debian\/?($|[ \n])/ { print; exit }' "$file"
  done | head -n 20
}
stanza=$(debian_source)
if [[ -n $stanza ]]; then
  uri=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' <<<"$stanza" | head -n1)
  suite=$(sed -n 's/^Suites: *\([^ ]*\).*/\1/p' <<<"$stanza" | head -n1)
  key=$(sed -n 's/^Signed-By: *\(.*\)/\1/p' <<<"$stanza" | head -n1)
else
  read -r uri suite < <(awk '$1 == "deb" && $2 !~ /^\[/ && $2 ~ /debian\/?$/ { print $2, $3; exit }' \
                          /etc/apt/sources.list 2>/dev/null)
  key=/usr/share/keyrings/debian-archive-keyring.gpg
fi
[[ -n ${uri:-} && -n ${suite:-} ]] || { say "no Debian source found in the machine's apt configuration"; exit 1; }
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
# What a program that ships this Qt must pass on: its licences and where its source is.
mkdir -p "$prefix.partial/share/doc/qt"
cp "$work/source/qtbase/LICENSES/"* "$prefix.partial/share/doc/qt/"
{
  echo "Qt ${version%%+*} for Windows, built as a static library from Debian's qt6-base source"
  echo "package, version $version ($uri, suite $suite), with these settings:"
  printf '  %s\n' "${features[@]}"
} >"$prefix.partial/share/doc/qt/SOURCE.txt"
mv "$prefix.partial" "$prefix"
rm -rf "$work"
say "Qt for Windows installed: $prefix"
echo "$prefix"
