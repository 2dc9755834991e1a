#!/usr/bin/env bash
# doc-links.sh SOURCE: every relative link and picture that README.md and docs/*.md name
# exists, and every #anchor a link names is a heading of the page it points to (the anchor
# GitHub makes of a heading: lower case, punctuation dropped, blanks as hyphens).
set -uo pipefail
source "$(dirname "$0")/../support/shell-checks.sh"
cd "$1" || fail "no source folder $1"

# anchors PAGE: the anchor of each heading of PAGE, one a line.
anchors() {
  sed -n 's/^#\{1,6\} \(.*\)$/\1/p' "$1" | tr '[:upper:]' '[:lower:]' | sed 's/[^a-z0-9 _-]//g; s/ /-/g'
}

broken=()
for page in README.md docs/*.md; do
  while IFS= read -r target; do
    case $target in http://* | https://* | mailto:*) continue ;; esac
    file=${target%%#*}
    anchor=${target#"$file"}
    anchor=${anchor#\#}
    path=$page
    [[ -n $file ]] && path=$(dirname "$page")/$file
    if [[ ! -e $path ]]; then
      broken+=("$page: $target, no $path")
    elif [[ -n $anchor ]] && ! anchors "$path" | grep -qxF -- "$anchor"; then
      broken+=("$page: $target, no such heading in $path")
    fi
  done < <(grep -o '](\([^)]*\))' "$page" | sed 's/^](\(.*\))$/\1/')
done
((${#broken[@]} == 0)) || fail "broken links:$(printf '\n  %s' "${broken[@]}")"
echo PASS
