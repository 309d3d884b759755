#!/usr/bin/env bash
# The packages of each job (scripts/install-deps.sh --list JOB): building and packaging take
# none that only the tests use, the page only its compiler on top; the test job takes every
# other job's packages and the installed clang's runtime; apt knows every name; and every file
# the build's configure step finds comes with the build job's packages.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
deps=$top/scripts/install-deps.sh
Fail() { echo "package_lists_test: FAIL: $*" >&2; exit 1; }
test_list=$("$deps" --list test)
for job in build deb web windows; do
    for package in $("$deps" --list "$job"); do
        case $job:$package in
        web:emscripten | web:nodejs | windows:g++-mingw-w64-x86-64-posix) ;;
        *:clang | *:libclang-rt-* | *:libgtest-dev | *:libgmock-dev | *:libbenchmark-dev | *:xvfb | \
            *:libx11-dev | *:zlib1g-dev | *:xdotool | *:x11-utils | *:x11-xserver-utils | *:file | \
            *:imagemagick | *:gnuplot-nox | *:chromium | *:npm | *:lintian | *:desktop-file-utils | \
            *:appstream | *:ncurses-term | *:openbox | *:python3-xlib | *:firefox-esr | \
            *:webkit2gtk-driver | *:emscripten | *:nodejs | *:g++-mingw-w64-x86-64-posix | \
            *:wine64 | *:unzip | *:speech-dispatcher | *:speech-dispatcher-espeak-ng | *:xclip)
            Fail "the $job job installs $package, which only the tests use" ;;
        esac
        grep -qx -- "$package" <<< "$test_list" || Fail "the test job lacks $package ($job job)"
    done
done
runtime="libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
grep -qx "$runtime" <<< "$test_list" || Fail "the test job lacks $runtime, the installed clang's"
known=$(apt-cache policy $test_list | awk '/^[^ ]/ {name = $1} /Candidate: [^(]/ {print name}')
unknown=$(grep -vxF -f <(tr -d : <<< "$known") <<< "$test_list" || true)
[ -z "$unknown" ] || Fail "apt has no candidate for: $unknown"

# A machine with the build job's packages has them and what they depend on, and the required
# ones. Each file in the cache of a configure step for playing is owned by one of those (the
# link itself for a library's development link, else the file it leads to, as for
# alternatives), but GLU, which FindOpenGL looks for and nothing here links.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake -S "$top" -B "$scratch" -DTARNWICK_TESTS=OFF > "$scratch/configure.log" 2>&1 ||
    { cat "$scratch/configure.log"; Fail "the configure step failed"; }
present=$( (apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $("$deps" --list build) | grep -v '^ '
    dpkg-query -W -f='${Package} ${Priority}\n' | awk '$2 == "required" {print $1}') | sort -u)
Owner() { { dpkg -S "$1" 2> /dev/null || true; } | sed -n '1s/[:,].*//p'; }
found=0
while IFS='=' read -r entry file; do
    [[ $entry == OPENGL_glu_LIBRARY:* ]] && continue
    owner=$(Owner "$file")
    [ -n "$owner" ] || owner=$(Owner "$(realpath "$file")")
    [ -n "$owner" ] || continue
    grep -qx -- "$owner" <<< "$present" ||
        Fail "the configure step uses $file (${entry%%:*}) from $owner, which the build job does not install"
    found=$((found + 1))
done < <(grep -E '^[A-Za-z_]+:FILEPATH=/' "$scratch/CMakeCache.txt")
[ "$found" -gt 10 ] || Fail "only $found files of the configure step are owned by a package"
echo "package_lists_test: build, deb, web and windows hold no test-only package; test holds" \
    "$runtime; the $found files the configure step finds come with the build job"
