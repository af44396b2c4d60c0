#!/bin/sh
# Fuzzes the text rules natively with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer. A long run of every target, ten minutes each:
#     ./scripts/fuzz.sh --seconds 600 all
#
# fuzz.sh [--seconds N] [--build-dir DIR] [--no-build] [all | TARGET...]
# Builds tests/fuzz into DIR ($BUILD_DIR/fuzz; build/fuzz when BUILD_DIR is
# not set) unless --no-build, then runs each target named (all: every one)
# for N seconds (20); with no target it only builds. Each run starts from a
# fresh copy of the target's seeds in DIR/runs/TARGET/corpus, never in the
# repository, and a failing input is kept in DIR/runs/TARGET/. Prints the
# executions per target and in total; fails when any target found
# something.
set -eu
cd "$(dirname "$0")/.."

seconds=20
dir=${BUILD_DIR:-build}/fuzz
build=1
targets=""
while [ $# -gt 0 ]; do
    case "$1" in
        --seconds) seconds=$2; shift 2 ;;
        --build-dir) dir=$2; shift 2 ;;
        --no-build) build=0; shift ;;
        all) targets="$targets $(cd tests/fuzz && ls *.cpp | sed 's/\.cpp$//')"; shift ;;
        -*) echo "fuzz: unknown option $1" >&2; exit 2 ;;
        *) targets="$targets $1"; shift ;;
    esac
done

if [ "$build" = 1 ]; then
    CC=clang CXX=clang++ cmake -S tests/fuzz -B "$dir" >/dev/null
    cmake --build "$dir" -j2 >/dev/null
fi

export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
total=0
failed=""
for target in $targets; do
    [ -x "$dir/$target" ] || { echo "fuzz: $dir/$target is not built (scripts/build.sh builds it)" >&2; exit 2; }
    [ -d "tests/fuzz/corpus/$target" ] || { echo "fuzz: no seeds in tests/fuzz/corpus/$target" >&2; exit 2; }
    run="$dir/runs/$target"
    rm -rf "$run"
    mkdir -p "$run"
    cp -R "tests/fuzz/corpus/$target" "$run/corpus"
    status=0
    "$dir/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -dict=tests/fuzz/texts.dict -artifact_prefix="$run/" "$run/corpus" >"$run/log" 2>&1 || status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log" | tail -n 1)
    executions=${executions:-0}
    total=$((total + executions))
    if [ "$status" = 0 ]; then
        echo "fuzz: $target: $executions executions in $seconds s, no finding"
    else
        echo "fuzz: $target: FINDING after $executions executions (exit $status); input and log in $run/"
        grep -E -m 12 'property failed|ERROR|SUMMARY|runtime error|#[0-9]+ 0x.* in [A-Z]' "$run/log" || tail -n 30 "$run/log"
        failed="$failed $target"
    fi
done
[ -z "$targets" ] || echo "fuzz: total: $total executions"
[ -z "$failed" ] || { echo "fuzz: findings in:$failed"; exit 1; }
