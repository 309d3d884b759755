#!/usr/bin/env bash
# The packages of each job (scripts/install-deps.sh --list JOB): building and packaging take
# none that only the tests use, the page only its compiler on top; the test job takes every
# other job's packages and the installed clang's runtime; apt knows every name.
set -euo pipefail
deps=$(dirname "$0")/../../scripts/install-deps.sh
Fail() { echo "package_lists_test: FAIL: $*" >&2; exit 1; }
test_list=$("$deps" --list test)
for job in build deb web; do
    for package in $("$deps" --list "$job"); do
        case $job:$package in
        web:emscripten | web:nodejs) ;;
        *:clang | *:libclang-rt-* | *:libgtest-dev | *:libgmock-dev | *:libbenchmark-dev | *:xvfb | \
            *:libx11-dev | *:zlib1g-dev | *:xdotool | *:x11-utils | *:x11-xserver-utils | *:file | \
            *:imagemagick | *:gnuplot-nox | *:chromium | *:npm | *:lintian | *:desktop-file-utils | \
            *:appstream | *:ncurses-term | *:firefox-esr | *:webkit2gtk-driver | *:emscripten | *:nodejs) Fail "the $job job installs $package, which only the tests use" ;;
        esac
        grep -qx -- "$package" <<< "$test_list" || Fail "the test job lacks $package ($job job)"
    done
done
runtime="libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
grep -qx "$runtime" <<< "$test_list" || Fail "the test job lacks $runtime, the installed clang's"
known=$(apt-cache policy $test_list | awk '/^[^ ]/ {name = $1} /Candidate: [^(]/ {print name}')
unknown=$(grep -vxF -f <(tr -d : <<< "$known") <<< "$test_list" || true)
[ -z "$unknown" ] || Fail "apt has no candidate for: $unknown"
echo "package_lists_test: build, deb and web hold no test-only package; test holds $runtime"
