#!/usr/bin/env bash
# Prints SOURCE_DATE_EPOCH, the date written into everything built (the package, the page, the
# zip): the environment's, else the date of the changelog's latest entry, as Debian's tools take
# it, so that a build gives the same bytes on any day, for any user, from any checkout, with or
# without git.
set -euo pipefail
echo "${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$(dirname "$0")/../packaging/changelog.in" -S Timestamp)}"
