#!/bin/bash
# Runs a test program as user nobody when run as root, for what only shows without root's
# rights (a port that only root could open again). The program is copied to a folder of
# nobody's own, which is also its home, so that it runs wherever the build tree lies.
#   as-nobody.sh PROGRAM [ARGUMENTS...]
set -eu
program=$1
shift
if [[ $(id -u) != 0 ]]; then
  exec "$program" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/"
chown -R nobody:nogroup "$work"
chmod 755 "$work"
cd "$work"
HOME=$work setpriv --reuid=nobody --regid=nogroup --clear-groups "$work/$(basename "$program")" "$@"
