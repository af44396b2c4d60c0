#!/bin/sh
# Installs what is missing, then configures and builds everything into build/.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j"$(nproc)"
./scripts/fuzz.sh --build-dir build/fuzz
