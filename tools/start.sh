#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target nerivo
exec ./build/default/bin/nerivo
