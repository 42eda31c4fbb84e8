#!/usr/bin/env bash
# Builds the two libFuzzer targets with clang and runs each for a while from a
# seed corpus of our own sample workbooks; a crash, leak or sanitizer report
# fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

if ! command -v clang++ >/dev/null; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends clang
fi

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSEDILO_BUILD_FUZZ=ON \
  -DSEDILO_BUILD_APP=OFF -DSEDILO_BUILD_TESTS=OFF -DSEDILO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_xlsx_reader fuzz_xls_reader >/dev/null

for format in xlsx xls; do
  corpus="$build/corpus-$format"
  mkdir -p "$corpus"
  find tests/fixtures data -maxdepth 1 -name "*.$format" -exec cp {} "$corpus/" \;
  echo "Fuzzing the .$format reader for ${seconds} s"
  "$build/fuzz/fuzz_${format}_reader" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -artifact_prefix="$build/crash-$format-" "$corpus" 2>"$build/fuzz-$format.log" \
    || { tail -40 "$build/fuzz-$format.log"; exit 1; }
  tail -1 "$build/fuzz-$format.log"
done
