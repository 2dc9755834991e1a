#!/usr/bin/env bash
# debian-package.sh BUILD_DIR
# Builds the Debian package with cpack, checks its file list against installed-files.txt
# and that its declared dependencies name the package of every library the binaries load.
set -uo pipefail
build=$1
here=$(dirname "$(readlink -f "$0")")
source "$here/../support/shell-checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) \
  || { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/vantorel_*_amd64.deb)
[[ -f ${debs[0]} ]] || fail "no vantorel_<version>_amd64.deb in: $(ls "$work")"
deb=${debs[0]}
[[ $(basename "$deb") == "vantorel_$(dpkg-deb -f "$deb" Version)_amd64.deb" ]] || fail "odd name $(basename "$deb")"
[[ $(dpkg-deb -f "$deb" Section) == electronics ]] || fail "section $(dpkg-deb -f "$deb" Section)"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\/usr\//, "", $6); print $6 }' | sort > "$work/files"
diff -u <(sort "$here/installed-files.txt") "$work/files" || fail "the package holds other files"

depends=$(dpkg-deb -f "$deb" Depends)
depended_packages=$(sed 's/ ([^)]*)//g; s/ *| */\n/g; s/, /\n/g' <<<"$depends")
dpkg-deb -x "$deb" "$work/root"
for binary in "$work"/root/usr/bin/*; do
  for library in $(objdump -p "$binary" | awk '$1 == "NEEDED" { print $2 }'); do
    package=$(dpkg -S "*/$library" 2>/dev/null | awk -F: '/x86_64-linux-gnu/ { print $1; exit }')
    [[ -n $package ]] || fail "no package holds $library"
    grep -qxF "$package" <<<"$depended_packages" \
      || fail "$(basename "$binary") needs $library from $package, not in Depends: $depends"
  done
done
echo "PASS: $(basename "$deb") depends on $depends"
