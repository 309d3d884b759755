#!/usr/bin/env bash
# Two builds of the same sources in two different folders give the same bytes: the sources as
# they are now are copied to a scratch folder under another path, the package and the page are
# built there again, and their SHA-256 sums must equal those of BUILD_DIR/deb and WEB_DIR/site.
# The pictures drawn by scripts must also come out as they are stored in assets/.
# Usage: reproducible_test.sh BUILD_DIR WEB_DIR      (JOBS: parallel jobs, default 2)
set -euo pipefail
build=$(realpath "$1")
web=$(realpath "$2")
top=$(cd "$(dirname "$0")/../.." && pwd)
jobs=${JOBS:-2}
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct)}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-again.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
copy=$scratch/another/place/tarnwick
# The build folders keep their places within the sources.
build2=$copy/$(realpath -m --relative-to="$top" "$build")
web2=$copy/$(realpath -m --relative-to="$top" "$web")
checks=0

Fail() { echo "reproducible_test: FAIL: $*" >&2; exit 1; }
Pass() { checks=$((checks + 1)); echo "ok $checks - $*"; }
# Every file under a folder with its SHA-256 sum, by relative path.
Sums() { (cd "$1" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0r sha256sum); }
# Cache entries of the first build, so the second is configured the same way.
CacheValue() { sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt"; }

# The pictures, drawn again.
"$top/packaging/make-icon.sh" "$scratch/icons" tarnwick $(ls "$top/assets/icons" | sed 's/x.*//')
"$top/scripts/make-splash.sh" "$scratch/splash.png" 2> /dev/null
diff <(Sums "$top/assets/icons") <(Sums "$scratch/icons") ||
    Fail "make-icon.sh draws other icons than those in assets/icons"
cmp -s "$top/assets/splash.png" "$scratch/splash.png" ||
    Fail "make-splash.sh draws another splash than assets/splash.png"
Pass "make-icon.sh and make-splash.sh draw the stored pictures byte for byte"

# The sources as they are, committed or not, less what git ignores.
mkdir -p "$copy"
(cd "$top" && git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - 2> /dev/null) | tar -xf - -C "$copy"

cmake -S "$copy" -B "$build2" -DTARNWICK_TESTS=OFF \
    -DCMAKE_BUILD_TYPE="$(CacheValue "$build" CMAKE_BUILD_TYPE)" > /dev/null
cmake --build "$build2" -j "$jobs" --target tarnwick tarnwick-text tarnwick_packaging \
    tarnwick_data > "$scratch/build.log" || { cat "$scratch/build.log"; Fail "the second build failed"; }
"$copy/packaging/make-deb.sh" "$build2" "$build2/deb" "$build2/packaging/control" > /dev/null
first=$(ls "$build"/deb/*.deb)
second=$(ls "$build2"/deb/*.deb)
if ! cmp -s "$first" "$second"; then
    mkdir "$scratch/first" "$scratch/second"
    dpkg-deb -R "$first" "$scratch/first"
    dpkg-deb -R "$second" "$scratch/second"
    diff <(Sums "$scratch/first") <(Sums "$scratch/second") >&2 ||
        diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$second") >&2 || true
    Fail "$(basename "$first") differs when built in $copy"
fi
Pass "the package, built again elsewhere: $(sha256sum < "$second" | cut -c1-16)…"

emcmake cmake -S "$copy" -B "$web2" \
    -DCMAKE_BUILD_TYPE="$(CacheValue "$web" CMAKE_BUILD_TYPE)" > "$scratch/web.log" 2>&1 ||
    { cat "$scratch/web.log"; Fail "the second page build could not be configured"; }
cmake --build "$web2" -j "$jobs" --target tarnwick_site >> "$scratch/web.log" ||
    { cat "$scratch/web.log"; Fail "the second page build failed"; }
diff <(Sums "$web/site") <(Sums "$web2/site") >&2 ||
    Fail "the page's folder differs when built in $copy"
Pass "the page's $(Sums "$web/site" | wc -l) files, built again elsewhere"
echo "reproducible_test: all $checks checks passed"
