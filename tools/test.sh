#!/usr/bin/env bash
# Installs what is missing, builds the given preset (default: "default") and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
bash tools/install-deps.sh
jobs=$(nproc)
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$jobs"
ctest --preset "$preset" -j "$jobs"
