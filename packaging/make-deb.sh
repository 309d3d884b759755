#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree: installs it under /usr into a
# staging folder, works out the shared libraries it needs, and packs it with dpkg-deb.
#   packaging/make-deb.sh BUILD_DIR OUTPUT_DIR CONTROL_TEMPLATE
# Prints the path of the .deb it wrote. Needs dpkg-dev (dpkg-shlibdeps); no root, no fakeroot.
# The same build gives the same bytes: files in a fixed order, owned by root, all dated from
# SOURCE_DATE_EPOCH.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 BUILD_DIR OUTPUT_DIR CONTROL_TEMPLATE" >&2
    exit 2
fi
build=$(realpath "$1")
output=$2
template=$3
# The font comes from this package, not from ours.
readonly FONT_PACKAGE=fonts-hack-ttf

command -v dpkg-shlibdeps > /dev/null ||
    { echo "make-deb: dpkg-shlibdeps is missing: scripts/install-deps.sh deb installs it" >&2; exit 1; }
[ -f "$build/cmake_install.cmake" ] || { echo "make-deb: $build is not a build folder" >&2; exit 1; }
SOURCE_DATE_EPOCH=$("$(dirname "$0")/../scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH

umask 022
mkdir -p "$output"
output=$(realpath "$output")
root="$output/root"
rm -rf "$root"
mkdir -p "$root/DEBIAN"
DESTDIR="$root" cmake --install "$build" --prefix /usr > "$output/install.log"
# As dh_strip does: no debugging symbols, and none of the sections lintian calls unneeded.
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$root"/usr/games/*

# dpkg-shlibdeps reads the package's name from a source tree's debian/control.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/debian"
printf 'Source: tarnwick\n\nPackage: tarnwick\nArchitecture: any\n' > "$work/debian/control"
binaries=()
for program in "$root"/usr/games/*; do
    binaries+=("-e$program")
done
shlibs=$(cd "$work" && dpkg-shlibdeps -O "${binaries[@]}" 2> "$output/shlibdeps.log")
shlibs=${shlibs#shlibs:Depends=}
[ -n "$shlibs" ] || { cat "$output/shlibdeps.log" >&2; echo "make-deb: no library dependencies found" >&2; exit 1; }

version=$(sed -n 's/^Version: //p' "$template")
architecture=$(dpkg --print-architecture)
# As dpkg-gencontrol counts it: KiB per file, rounded up, and one per folder, on any file system.
size=$(find "$root/usr" \( -type f -printf '%s\n' \) -o -printf '0\n' |
    awk '{kib += $1 > 0 ? int(($1 + 1023) / 1024) : 1} END {print kib}')
sed -e "s|%ARCHITECTURE%|$architecture|" -e "s|%INSTALLED_SIZE%|$size|" \
    -e "s|%DEPENDS%|$shlibs, $FONT_PACKAGE|" "$template" > "$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) > "$root/DEBIAN/md5sums"
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

deb="$output/tarnwick_${version}_${architecture}.deb"
rm -f "$deb"
# One compressor thread: xz writes other bytes when it splits the work.
threads=()
dpkg-deb --help | grep -q -- --threads-max && threads=(--threads-max=1)
dpkg-deb --root-owner-group -Zxz "${threads[@]}" --build "$root" "$deb" > /dev/null
echo "$deb"
