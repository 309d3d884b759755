#!/usr/bin/env bash
# Puts known faults into the code one at a time and says which the tests catch. Each patch in
# this folder (or each one named) starts with comment lines before its diff:
#   # tests: REGEX      the CTest tests of its area (ctest -R)
#   # build: DIR        the build folder to test in (default build; build-win for Windows)
#   # run: COMMAND      instead of the two above, a command that builds and tests (the page's)
# For each: apply, build, run those tests, restore. A fault is caught when a test fails.
# Usage: tests/faults/try-faults.sh [PATCH...]   (from the top folder, after make build-tests)
set -uo pipefail
cd "$(dirname "$0")/../.."
patches=("$@")
[ ${#patches[@]} -gt 0 ] || patches=(tests/faults/*.patch)
caught=0
tried=0
for patch in "${patches[@]}"; do
    regex=$(sed -n 's/^# tests: //p' "$patch" | head -1)
    dir=$(sed -n 's/^# build: //p' "$patch" | head -1)
    dir=${dir:-build}
    run=$(sed -n 's/^# run: //p' "$patch" | head -1)
    if [ -z "$run" ] && [ ! -f "$dir/CMakeCache.txt" ]; then
        echo "skip   $(basename "$patch"): no build in $dir"
        continue
    fi
    git apply "$patch" || { echo "error  $(basename "$patch") does not apply" >&2; exit 2; }
    verdict=missed
    if [ -n "$run" ]; then
        bash -c "$run" > /dev/null 2>&1 || verdict=caught
    elif ! cmake --build "$dir" -j "$(nproc)" > /dev/null 2>&1; then
        verdict="caught (build)"
    elif ! (cd "$dir" && ctest -R "$regex" > /dev/null 2>&1); then
        verdict=caught
    fi
    git apply -R "$patch"
    tried=$((tried + 1))
    [ "$verdict" = missed ] || caught=$((caught + 1))
    printf '%-7s %s\n' "${verdict%% *}" "$(basename "$patch" .patch)"
done
echo "caught $caught of $tried"
# The tree is as it was; so are the builds.
for dir in build build-win; do
    [ -f "$dir/CMakeCache.txt" ] && cmake --build "$dir" -j "$(nproc)" > /dev/null 2>&1
done
[ "$caught" -eq "$tried" ]
