# What the scripts need to know of the Debian release they run on. Sourced, not run:
#   . scripts/debian.sh

# The LLVM version whose clang, libFuzzer runtime and symbolizer the fuzzing build uses: the
# newest one each release ships. VANTOREL_LLVM_VERSION chooses another, or one for a release
# not listed here.
debian_llvm_version() {
  if [[ -n ${VANTOREL_LLVM_VERSION:-} ]]; then
    echo "$VANTOREL_LLVM_VERSION"
    return
  fi
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  case $codename in
    bookworm) echo 14 ;;  # Debian 12
    trixie) echo 19 ;;    # Debian 13
    *) echo "scripts/debian.sh: no LLVM version is known for '${codename:-this system}';" \
            "set VANTOREL_LLVM_VERSION to one its apt sources have" >&2
       return 1 ;;
  esac
}

# The machine's own Debian archive, as "URI SUITE KEYRING" (the keyring may be empty): the
# scripts that fetch from Debian use it, so that the project names no mirror.
debian_archive() {
  local file stanza="" uri suite key
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -f $file ]] || continue
    stanza=$(awk -v RS= '/(^|\n)Types:[^\n]*deb/ && /(^|\n)URIs:[^\n]*debian\/?($|[ \n])/ { print; exit }' "$file")
    [[ -n $stanza ]] && break
  done
  if [[ -n $stanza ]]; then
    uri=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' <<<"$stanza" | head -n1)
    suite=$(sed -n 's/^Suites: *\([^ ]*\).*/\1/p' <<<"$stanza" | head -n1)
    key=$(sed -n 's/^Signed-By: *\(.*\)/\1/p' <<<"$stanza" | head -n1)
  else
    read -r uri suite < <(awk '$1 == "deb" && $2 !~ /^\[/ && $2 ~ /debian\/?$/ { print $2, $3; exit }' \
                            /etc/apt/sources.list 2>/dev/null)
    key=/usr/share/keyrings/debian-archive-keyring.gpg
  fi
  [[ -n ${uri:-} && -n ${suite:-} ]] || { echo "no Debian archive found in the machine's apt configuration" >&2; return 1; }
  echo "$uri $suite ${key:-}"
}
