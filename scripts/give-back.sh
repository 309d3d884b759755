#!/bin/sh
# Run as root on a build folder a user owns (sudo make install after make build), hands what
# root wrote there back to the folder's owner, who can then still rebuild and remove it.
#   scripts/give-back.sh BUILD_DIR
set -eu
build=$1
[ "$(id -u)" -eq 0 ] && [ -d "$build" ] || exit 0
owner=$(stat -c %u:%g "$build")
[ "$owner" != 0:0 ] || exit 0
find "$build" -user 0 -exec chown -h "$owner" {} +
