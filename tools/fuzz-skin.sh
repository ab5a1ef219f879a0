#!/bin/sh
# Fuzzes the skin container reader for a bounded time in a separate clang build (Debian's clang and
# its runtimes are installed when missing).
#   tools/fuzz-skin.sh [seconds]   (default 60)
# The build goes to build/fuzz in the clone (NERIVO_FUZZ_BUILD chooses another folder); findings land
# in its fuzz-skin folder.
set -eu
seconds=${1:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/tools/install-deps.sh" fuzz
build=${NERIVO_FUZZ_BUILD:-$here/build/fuzz}
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link,address,undefined \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined >/dev/null
cmake --build "$build" --target skin_container_fuzz -j4
mkdir -p "$build/fuzz-skin/corpus" "$build/fuzz-skin/findings"
# Seed: a real skin container from the generator, prefixed by its mode byte. Without it the fuzzer
# starts from nothing and rarely gets past the header, so say so.
seed_log="$build/fuzz-skin/skingen-build.log"
if cmake --build "$build" --target skingen -j4 >"$seed_log" 2>&1; then
  seed=$(mktemp -d)
  if "$build/tools/skingen/skingen" "$seed" >/dev/null && [ -s "$seed/nerivo.skn" ]; then
    { printf '\000'; cat "$seed/nerivo.skn"; } >"$build/fuzz-skin/corpus/generated.skn"
  else
    echo "fuzz-skin: the skin generator wrote no container; running without the generated seed" >&2
  fi
  rm -rf "$seed"
else
  echo "fuzz-skin: the skin generator does not build (see $seed_log); running without the generated seed" >&2
fi
if [ ! -s "$build/fuzz-skin/corpus/generated.skn" ]; then
  echo "fuzz-skin: seed missing: $build/fuzz-skin/corpus/generated.skn" >&2
fi
cd "$build/fuzz-skin"
exec "$build/skin/core/fuzz/skin_container_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 \
  -artifact_prefix=findings/ corpus
