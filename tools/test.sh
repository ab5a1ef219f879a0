#!/usr/bin/env bash
# Installs what is missing, builds the given preset (default: "default") and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
bash tools/install-deps.sh
jobs=$(nproc)
# Clones in other folders share the compiler cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$jobs"
ctest --preset "$preset" -j "$jobs"
