#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSGA_BUILD_TESTS=OFF >/dev/null
cmake --build build-release --target snapgrid-atlas
exec build-release/snapgrid-atlas "$@"
