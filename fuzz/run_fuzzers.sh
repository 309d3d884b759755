#!/usr/bin/env bash
# Runs the libFuzzer targets of a fuzz build (see the Makefile's fuzz-build):
#
#   fuzz/run_fuzzers.sh BUILD_DIR SECONDS
#
# First every seed (fuzz/corpus/<target>) and every kept regression case
# (fuzz/regressions/<target>) is replayed once; each must pass. Then, unless SECONDS is 0, the
# targets fuzz side by side for SECONDS each. New inputs go to BUILD_DIR/fuzz/corpus/<target>,
# a failing input to BUILD_DIR/fuzz/findings/, logs to BUILD_DIR/fuzz/logs/. Prints per target
# the executions, their rate, the corpus size and the findings; exits non-zero on a finding.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
build_dir=$(cd "$1" && pwd)
seconds=$2
source_dir=$(cd "$(dirname "$0")" && pwd)
targets=(text_model matcher game line_editor)

# Longest input and the time one input may take before it counts as a hang.
options() {
    case $1 in
        text_model) echo "-max_len=1024 -timeout=10" ;;
        matcher) echo "-max_len=512 -timeout=10" ;;
        game) echo "-max_len=2048 -timeout=30" ;;
        line_editor) echo "-max_len=1024 -timeout=10" ;;
    esac
}

binary() { echo "$build_dir/fuzz/$1_fuzzer"; }

for target in "${targets[@]}"; do
    if [ ! -x "$(binary "$target")" ]; then
        echo "$(binary "$target") is missing: build the fuzz targets first (make fuzz-build)" >&2
        exit 2
    fi
done
mkdir -p "$build_dir/fuzz/logs" "$build_dir/fuzz/findings"

# Replay: seeds and regression cases, one run each.
failed=0
for target in "${targets[@]}"; do
    inputs=()
    for dir in "$source_dir/corpus/$target" "$source_dir/regressions/$target"; do
        [ -d "$dir" ] && while IFS= read -r -d '' file; do inputs+=("$file"); done \
            < <(find "$dir" -type f -print0 | sort -z)
    done
    log="$build_dir/fuzz/logs/$target-replay.log"
    # shellcheck disable=SC2046
    if TARNWICK_FUZZ_REPORT=1 "$(binary "$target")" $(options "$target") "${inputs[@]}" \
        > "$log" 2>&1; then
        echo "replayed ${#inputs[@]} inputs of $target: all pass"
        grep -E '^(game|text model):' "$log" || true
    else
        echo "REPLAY FAILED for $target; the log ends:" >&2
        tail -n 30 "$log" >&2
        failed=1
    fi
done
[ "$failed" -eq 0 ] || exit 1
[ "$seconds" -gt 0 ] || exit 0

# Fuzzing, all targets at once.
declare -A pids
for target in "${targets[@]}"; do
    work="$build_dir/fuzz/corpus/$target"
    mkdir -p "$work"
    seeds=("$source_dir/corpus/$target")
    [ -d "$source_dir/regressions/$target" ] && seeds+=("$source_dir/regressions/$target")
    # shellcheck disable=SC2046
    TARNWICK_FUZZ_REPORT=1 "$(binary "$target")" "$work" "${seeds[@]}" \
        -dict="$source_dir/dict/$target.dict" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build_dir/fuzz/findings/$target-" $(options "$target") \
        > "$build_dir/fuzz/logs/$target.log" 2>&1 &
    pids[$target]=$!
done

stat() { grep -E "^stat::$2:" "$build_dir/fuzz/logs/$1.log" | awk '{print $2}' | tail -n 1; }

printf '%-12s %12s %10s %8s %s\n' target executions exec/s corpus findings
for target in "${targets[@]}"; do
    status=0
    wait "${pids[$target]}" || status=$?
    findings=$(find "$build_dir/fuzz/findings" -name "$target-*" -type f | wc -l)
    corpus=$(find "$build_dir/fuzz/corpus/$target" -type f | wc -l)
    printf '%-12s %12s %10s %8s %s\n' "$target" "$(stat "$target" number_of_executed_units)" \
        "$(stat "$target" average_exec_per_sec)" "$corpus" "$findings"
    if [ "$status" -ne 0 ]; then
        echo "FUZZING FAILED for $target (exit $status); the log ends:" >&2
        tail -n 40 "$build_dir/fuzz/logs/$target.log" >&2
        failed=1
    fi
done
for target in "${targets[@]}"; do
    grep -E '^(game|text model):' "$build_dir/fuzz/logs/$target.log" || true
done
exit "$failed"
