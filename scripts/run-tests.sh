#!/bin/sh
# Installs what is missing, builds, and runs every test: unit tests and
# end-to-end scenarios under Wine, each in a fresh prefix on its own display.
# Builds into $BUILD_DIR (build/ unless set); screenshots land in its
# test-results/.
set -eu
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
./scripts/build.sh
rm -rf "$build/test-results"
cd "$build"
ctest -j"$(nproc)" --output-on-failure "$@"
