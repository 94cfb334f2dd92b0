#!/usr/bin/env bash
# Replays 2,000 words of the shipped list through the input controller with candidates on,
# the shipped lexicon and a 100,000-word user dictionary, and prints the figures of
# `yakdrom replay` for each run: keys per second, per-key latency, peak memory, when the
# first key was served and when the lexicon load finished.
# Usage: bench/run-replay.sh [RUNS]   (BUILD_DIR picks the build tree, build/ by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
runs=${1:-3}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DYAKDROM_WERROR=ON >/dev/null
fi
cmake --build "$build" --target yakdrom yakdrom_lexicon >/dev/null
corpus="$build/bench/replay"
bench/make-replay-corpus.sh "$corpus" "$build/bin/yakdrom"

# Each run learns into a fresh copy, so every run starts from the same dictionary.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for run in $(seq "$runs"); do
  cp "$corpus/user-dictionary-100k.txt" "$scratch/user-dictionary.txt"
  echo "run $run:"
  "$build/bin/yakdrom" replay "$corpus/replay-2000.keys" \
    --user-dictionary "$scratch/user-dictionary.txt" | sed 's/^/  /'
done
