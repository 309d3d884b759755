#!/usr/bin/env bash
# The sources as they are, built again in a scratch folder under another path from files of
# another date, give the same package, page, Windows zip and installer (SHA-256 sums) as
# BUILD_DIR/deb, WEB_DIR/site and the zip and the installer in WIN_DIR, and the pictures'
# scripts draw assets/ again byte for byte.
# Usage: reproducible_test.sh BUILD_DIR WEB_DIR [WIN_DIR]   (JOBS: parallel jobs, default 2)
set -euo pipefail
build=$(realpath "$1")
web=$(realpath "$2")
top=$(cd "$(dirname "$0")/../.." && pwd)
SOURCE_DATE_EPOCH=$("$top/scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-again.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
copy=$scratch/another/place/tarnwick
# The build folders keep their places within the sources.
build2=$copy/$(realpath -m --relative-to="$top" "$build")
web2=$copy/$(realpath -m --relative-to="$top" "$web")

Fail() { echo "reproducible_test: FAIL: $*" >&2; exit 1; }
# Every file in FOLDER (or under PATHS in it) with its SHA-256 sum, by relative path.
Sums() { (cd "$1" && shift && find "${@:-.}" -type f | LC_ALL=C sort | xargs -d '\n' sha256sum); }
Run() { "$@" >> "$scratch/log" 2>&1 || { cat "$scratch/log"; Fail "$* failed"; }; }

for icon in "$top"/assets/icons/*/*.png; do
    size=$(basename "$(dirname "$icon")")
    "$top/packaging/make-icon.sh" "$scratch/icons" "$(basename "$icon" .png)" "${size%%x*}"
done
"$top/scripts/make-splash.sh" "$scratch/splash.png" 2> /dev/null
diff <(Sums "$top/assets" icons splash.png) <(Sums "$scratch" icons splash.png) >&2 ||
    Fail "make-icon.sh or make-splash.sh draws another picture than the one in assets/"
echo "ok 1 - make-icon.sh and make-splash.sh draw the stored pictures byte for byte"

# The sources as they are, committed or not, less what git ignores, all dated as no checkout
# of the last commit is.
mkdir -p "$copy"
(cd "$top" && git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - 2> /dev/null) | tar -xf - -C "$copy"
find "$copy" -exec touch -h -d 2001-02-03T04:05:06Z {} +
CacheValue() { sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt"; }

Run cmake -S "$copy" -B "$build2" -DTARNWICK_TESTS=OFF \
    -DCMAKE_BUILD_TYPE="$(CacheValue "$build" CMAKE_BUILD_TYPE)"
Run cmake --build "$build2" -j "${JOBS:-2}" --target tarnwick tarnwick-text tarnwick_packaging
Run "$copy/packaging/make-deb.sh" "$build2" "$build2/deb" "$build2/packaging/control"
cmp "$build"/deb/*.deb "$build2"/deb/*.deb || Fail "the package differs when built in $copy"
echo "ok 2 - the package, built again elsewhere: $(sha256sum "$build2"/deb/*.deb | cut -c1-16)…"

Run emcmake cmake -S "$copy" -B "$web2" -DCMAKE_BUILD_TYPE="$(CacheValue "$web" CMAKE_BUILD_TYPE)"
Run cmake --build "$web2" -j "${JOBS:-2}" --target tarnwick_site
diff <(Sums "$web/site") <(Sums "$web2/site") >&2 || Fail "the page differs when built in $copy"
echo "ok 3 - the page's $(find "$web2/site" -type f | wc -l) files, built again elsewhere"

[ $# -ge 3 ] || exit 0
win=$(realpath "$3")
win2=$copy/$(realpath -m --relative-to="$top" "$win")
zip=$(ls "$win"/tarnwick-*-windows-x64.zip)
# The Debian sources already fetched, so that no download is needed.
mkdir -p "$win2/sources"
cp -r "$win/sources/apt" "$win2/sources/"
Run cmake -S "$copy" -B "$win2" -DTARNWICK_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$copy/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE="$(CacheValue "$win" CMAKE_BUILD_TYPE)"
Run cmake --build "$win2" -j "${JOBS:-2}" --target zip msi
cmp "$zip" "$win2/$(basename "$zip")" || Fail "the Windows zip differs when built in $copy"
echo "ok 4 - the Windows zip, built again elsewhere: $(sha256sum "$zip" | cut -c1-16)…"
msi=${zip%.zip}.msi
cmp "$msi" "$win2/$(basename "$msi")" || Fail "the Windows installer differs when built in $copy"
echo "ok 5 - the Windows installer, built again elsewhere: $(sha256sum "$msi" | cut -c1-16)…"
