#!/usr/bin/env bash
# Runs a command on this tree inside a Debian system of another release, as root:
#   scripts/in-debian.sh RELEASE COMMAND [ARGUMENT...]      (RELEASE: a suite name, "trixie")
# The tree is mounted at /vantorel in that system and the command starts there, with the
# system's own /proc, /sys and /tmp and the machine's /dev (pseudo-terminals included), in a
# mount namespace of its own, so nothing stays mounted when it ends. The command installs what
# it needs itself (scripts/install-deps.sh).
# The system is a base system made with debootstrap from the machine's own Debian archive and
# kept in the cache outside the tree, with the packages installed in it; it is brought up to
# date when it was last updated more than a week ago. A run stopped while packages were being
# changed (Ctrl+C in the update, or in the command's own apt-get) leaves them half-configured:
# the next run finishes that first.
set -euo pipefail
say() { echo "in-debian: $*" >&2; }

[[ $# -ge 2 ]] || { echo "usage: scripts/in-debian.sh RELEASE COMMAND [ARGUMENT...]" >&2; exit 2; }
if [[ $(id -u) -ne 0 ]]; then
  exec sudo --preserve-env=XDG_CACHE_HOME,CI "$0" "$@"
fi
release=$1
shift
tree=$(cd "$(dirname "$0")/.." && pwd)
. "$tree/scripts/debian.sh"

cache=${XDG_CACHE_HOME:-$HOME/.cache}/vantorel
root=$cache/debian-$release
mkdir -p "$cache"
# One run at a time uses a system: a second says which run it waits for. The lock file names
# the run that holds it.
exec 9<>"$root.lock"
if ! flock -n 9; then
  holder=$(cat "$root.lock")
  say "waiting for the Debian $release system in $root, which another run uses: ${holder:-(not named)}"
  flock 9
fi
echo "process $$ (scripts/in-debian.sh $release $*) since $(date +%T)" >"$root.lock"

read -r uri _ key < <(debian_archive) || exit 1
if [[ ! -f $root/etc/os-release ]]; then
  say "making a Debian $release system in $root (debootstrap from $uri)"
  # debootstrap mounts /proc and /sys in the system it makes: in a mount namespace of its own
  # they go when it ends, however it ends. What a stopped one left is removed without leaving
  # its file system, should anything still be mounted in it.
  rm -rf --one-file-system "$root.partial" \
    || { say "$root.partial has a file system mounted in it (findmnt -R $root.partial): unmount it"; exit 1; }
  unshare --mount --propagation private \
      debootstrap --variant=minbase ${key:+--keyring="$key"} "$release" "$root.partial" "$uri" \
      >"$cache/debian-$release.log" 2>&1 \
    || { tail -n 20 "$cache/debian-$release.log" >&2; say "debootstrap failed: $cache/debian-$release.log"; exit 1; }
  mv "$root.partial" "$root"
fi

# Inside: the namespace's mounts, the machine's name servers, then the command as a login
# would start it (the caller's environment stays outside, but for CI).
inside() {
  # The system's root is a mount point of its own, as a real root is: a command inside can
  # then make its own mount namespace (unshare --mount) there too.
  mount --bind "$root" "$root"
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs tmpfs "$root/tmp"
  mkdir -p "$root/vantorel"
  mount --bind "$tree" "$root/vantorel"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  # dpkg's journal (updates/) holds what an interrupted dpkg left; --audit names packages left
  # unpacked or half-configured.
  if chroot "$root" sh -c '[ -n "$(ls -A /var/lib/dpkg/updates)$(dpkg --audit)" ]'; then
    say "finishing the package changes an interrupted run left half-made"
    chroot "$root" env DEBIAN_FRONTEND=noninteractive sh -c \
      'dpkg --configure -a >/dev/null && apt-get install -f -y -qq >/dev/null'
  fi
  local updated=$root/var/lib/vantorel-updated
  if [[ -z $(find "$updated" -mtime -7 2>/dev/null) ]]; then
    say "bringing the Debian $release system up to date"
    chroot "$root" env DEBIAN_FRONTEND=noninteractive sh -c \
      'apt-get update -qq && apt-get full-upgrade -y -qq >/dev/null && apt-get clean'
    touch "$updated"
  fi
  exec chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" ${CI:+CI="$CI"} \
    sh -c 'cd /vantorel && exec "$@"' sh "$@"
}
export -f inside say
export root tree release
exec unshare --mount --propagation private bash -c 'set -euo pipefail; inside "$@"' bash "$@"
