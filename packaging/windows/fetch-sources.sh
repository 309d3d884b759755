#!/usr/bin/env bash
# Unpacks Debian's source packages of the installed libraries named, at exactly their installed
# versions, for the Windows build:
#   packaging/windows/fetch-sources.sh FOLDER PACKAGE...
# For example `… build-win/sources libglfw3-dev libimgui-dev` gives build-win/sources/glfw3 and
# build-win/sources/imgui. apt works from a configuration of its own in FOLDER/apt (deb-src
# entries for the mirrors and suites of the system's Debian entry, its own package lists and
# cache), so the system's apt configuration and state are never touched. A source already
# unpacked at the right version is left as it is.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 FOLDER PACKAGE..." >&2
    exit 2
fi
mkdir -p "$1"
folder=$(realpath "$1")
shift
apt_dir=$folder/apt
log=$apt_dir/log

Fail() { echo "fetch-sources: $*" >&2; exit 1; }

# source=version of each package, and the ones not yet unpacked at that version.
wanted=()
for package in "$@"; do
    read -r source version < <(dpkg-query -W -f='${source:Package} ${source:Version}\n' "$package" 2> /dev/null) ||
        Fail "$package is not installed (scripts/install-deps.sh windows installs it)"
    [ "$(cat "$folder/$source.version" 2> /dev/null)" = "$version" ] || wanted+=("$source=$version")
done
[ ${#wanted[@]} -gt 0 ] || exit 0

# The system's Debian entry as source entries: Debian 12 keeps it in deb822 form, older
# systems as lines in sources.list.
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache" "$apt_dir/downloads"
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    list=$apt_dir/debian-src.sources
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$list"
elif [ -f /etc/apt/sources.list ]; then
    list=$apt_dir/debian-src.list
    sed -n -E 's/^deb +/deb-src /p' /etc/apt/sources.list > "$list"
fi
[ -s "${list:-}" ] || Fail "no Debian entry in /etc/apt/sources.list.d/debian.sources or /etc/apt/sources.list"
apt_options=(-q -o Dir::Etc::sourcelist="$list" -o Dir::Etc::sourceparts=- \
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache")
Apt() { apt-get "${apt_options[@]}" "$@" >> "$log" 2>&1; }

# The lists are fetched only when the sources are not found in those already there.
cd "$apt_dir/downloads"
if ! Apt source --download-only "${wanted[@]}"; then
    Apt update || { cat "$log" >&2; Fail "apt-get update failed"; }
    Apt source --download-only "${wanted[@]}" || { cat "$log" >&2; Fail "apt-get source failed"; }
fi
for entry in "${wanted[@]}"; do
    source=${entry%%=*}
    version=${entry#*=}
    rm -rf "${folder:?}/$source" "$folder/$source.version"
    dpkg-source --no-copy -x "${source}_${version#*:}.dsc" "$folder/$source" >> "$log" 2>&1 ||
        { cat "$log" >&2; Fail "dpkg-source could not unpack $source $version"; }
    echo "$version" > "$folder/$source.version"
done
