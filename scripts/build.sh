#!/bin/sh
# Installs what is missing, then configures and builds everything into build/,
# the fuzzers into build/fuzz. With target names (build.sh package), builds
# only those targets and no fuzzer.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS=ON >/dev/null
if [ $# -gt 0 ]; then
    cmake --build build -j"$(nproc)" --target "$@"
    exit
fi
cmake --build build -j"$(nproc)"
./scripts/fuzz.sh --build-dir build/fuzz
