#!/bin/sh
# Installs what is missing, then configures and builds everything into
# $BUILD_DIR (build/ unless set), the fuzzers into its fuzz/: a second build
# directory keeps a build for another host, such as a Debian root that
# shares this tree, apart. With target names (build.sh package), builds only
# those targets and no fuzzer.
set -eu
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
./scripts/setup-deps.sh
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS=ON >/dev/null
if [ $# -gt 0 ]; then
    cmake --build "$build" -j"$(nproc)" --target "$@"
    exit
fi
cmake --build "$build" -j"$(nproc)"
./scripts/fuzz.sh --build-dir "$build/fuzz"
