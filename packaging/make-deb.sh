#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree: installs it under /usr into a
# staging folder, works out the shared libraries it needs, and packs it with dpkg-deb.
#   packaging/make-deb.sh BUILD_DIR OUTPUT_DIR CONTROL_TEMPLATE
# Prints the path of the .deb it wrote. Needs dpkg-dev (dpkg-shlibdeps); no root, no fakeroot.
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
size=$(du -s -k --apparent-size "$root/usr" | cut -f1)
sed -e "s|%ARCHITECTURE%|$architecture|" -e "s|%INSTALLED_SIZE%|$size|" \
    -e "s|%DEPENDS%|$shlibs, $FONT_PACKAGE|" "$template" > "$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) > "$root/DEBIAN/md5sums"
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

deb="$output/tarnwick_${version}_${architecture}.deb"
rm -f "$deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" > /dev/null
echo "$deb"
