#!/usr/bin/env bash
# The packages each job installs (scripts/install-deps.sh --list JOB): building, playing and
# packaging take nothing that only the tests use, the page only its compiler on top, the test
# job takes every other job's packages and the clang runtime of the installed clang, and the
# distribution knows every name.
set -euo pipefail
deps=$(dirname "$0")/../../scripts/install-deps.sh
Fail() { echo "package_lists_test: FAIL: $*" >&2; exit 1; }
# Used only by the tests, sanitizers, fuzzers, benchmarks and the page's build.
test_only="clang libclang-rt-[0-9]*-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool
    x11-utils imagemagick gnuplot-nox chromium npm lintian desktop-file-utils appstream
    firefox-esr webkit2gtk-driver emscripten nodejs"
test_list=$("$deps" --list test)

for job in build deb web; do
    list=$("$deps" --list "$job")
    for package in $list; do
        for pattern in $test_only; do
            # shellcheck disable=SC2254
            case $job:$package in
            web:emscripten | web:nodejs) ;;
            *:$pattern) Fail "the $job job installs $package, which only the tests use" ;;
            esac
        done
        grep -qx -- "$package" <<< "$test_list" || Fail "the test job lacks $package of the $job job"
    done
    echo "ok - $job: $(wc -w <<< $list) packages, none only for the tests, all in the test job"
done

runtime="libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
grep -qx "$runtime" <<< "$test_list" || Fail "the test job lacks $runtime, the installed clang's runtime"
known=$(apt-cache policy $test_list | awk '/^[^ ]/ {name = $1} /Candidate: [^(]/ {print name}')
unknown=$(grep -vxF -f <(tr -d : <<< "$known") <<< "$test_list" || true)
[ -z "$unknown" ] || Fail "the distribution has no candidate for: $unknown"
echo "ok - test: $(wc -w <<< $test_list) packages, $runtime among them, every one known to apt"
