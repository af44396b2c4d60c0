#!/bin/sh
# Benchmarks of drvsetup and drvremove, each measured side by side with a
# bare baseline in one run under Wine, in a prefix like the tests' (its
# windows unmanaged, so no closed window costs Wine's two-second wait).
# Prints medians of BENCH_ROUNDS rounds (5) as ratios and as milliseconds
# beyond the designed waits, with the aims, and the peak working sets
# against two baselines. bench/README.md gives the method. Figures taken on
# a loaded machine are noisy: the first lines give the load average.
#
#   ./bench/run.sh                      builds build/ with scripts/build.sh
#   BUILD_DIR=build-x ./bench/run.sh    uses a configured build directory
#   BENCH_WINEDEBUG=+timestamp,+relay   adds Wine's journal to the log
set -eu
cd "$(dirname "$0")/.."
root=$PWD
rounds=${BENCH_ROUNDS:-5}

if [ -n "${BUILD_DIR:-}" ]; then
    cmake --build "$BUILD_DIR" --target package bench_bare_exit bench_bare_dialog bench_bare_platform \
        bench_bare_quiet bench_startup bench_phases -j"$(nproc)" >/dev/null
else
    ./scripts/build.sh >/dev/null
    BUILD_DIR=build
fi
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)
package=$BUILD_DIR/package
bench=$BUILD_DIR/bench

. "$root/scripts/wine-env.sh"
new_wine_prefix
start_xvfb
log=$BUILD_DIR/bench-wine.log
cleanup() {
    stop_wine
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
trap 'exit 124' INT TERM
start_wine_services

# The package as the wizard finds it; the phase benchmark runs from a copy
# of its own, which is where drvsetup takes its files from.
drive=$WINEPREFIX/drive_c
mkdir -p "$drive/TARVOK" "$drive/bench" "$drive/bench-package"
cp "$package"/* "$drive/TARVOK/"
cp "$bench"/bench_startup.exe "$bench"/bench_bare_*.exe "$drive/bench/"
cp "$package"/* "$bench/bench_phases.exe" "$drive/bench-package/"

run() {
    WINEDEBUG=${BENCH_WINEDEBUG:--all} timeout -k 5 300 $WINE64 "$@" 2>>"$log"
}

: >"$log"
echo "Benchmarks under Wine $(wine --version 2>/dev/null | sed 's/^wine-//'), medians of $rounds rounds;"
echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the start: a shared machine gives noisy figures."
printf '%-52s %11s %10s %6s %12s   %-18s %s\n' "measure" "program" "bare" "ratio" "beyond" "aim" "result"
run 'C:\bench\bench_startup.exe' 'C:\TARVOK' 'C:\bench' "$rounds" | tr -d '\r'
run 'C:\bench-package\bench_phases.exe' "$rounds" | tr -d '\r'
for program in drvsetup.exe drvremove.exe "$bench/bench_bare_dialog.exe"; do
    file=$program
    [ -f "$file" ] || file=$package/$program
    size=$(stat -c %s "$file")
    result=met
    [ "$size" -lt 1048576 ] || result=MISSED
    aim="< 1 MiB"
    [ "$program" = drvsetup.exe ] || [ "$program" = drvremove.exe ] || { aim="(baseline)"; result=; }
    printf '%-52s %7.2f MiB %10s %6s %12s   %-18s %s\n' "size of $(basename "$file")" \
        "$(echo "$size" | awk '{print $1 / 1048576}')" "" "" "" "$aim" "$result"
done
echo "Load average $(cut -d' ' -f1-3 /proc/loadavg) at the end. (Wine's messages: $log)"
