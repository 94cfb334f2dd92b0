#!/usr/bin/env bash
# Counts heap allocations per key, with the per-key latency, for the composition engine
# alone and for a whole session typing the replay corpus with the shipped lexicon and a
# 100,000-word user dictionary, once with candidates on and once with them off.
# Usage: bench/run-allocations.sh   (BUILD_DIR picks the build tree, build/ by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake --build "$build" --target yakdrom yakdrom_lexicon yakdrom_bench_allocations >/dev/null
corpus="$build/bench/replay"
bench/make-replay-corpus.sh "$corpus" "$build/bin/yakdrom"

# Each run learns into a fresh copy, so both start from the same dictionary.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for suggestions in true false; do
  cp "$corpus/user-dictionary-100k.txt" "$scratch/user-dictionary.txt"
  echo "candidates $([ "$suggestions" = true ] && echo on || echo off):"
  "$build/bin/yakdrom_bench_allocations" "$corpus/replay-2000.keys" \
    --lexicon "$build/Resources/lex.dat" --user-dictionary "$scratch/user-dictionary.txt" \
    --set "Yakdrom.suggestionEnabled=$suggestions" | sed 's/^/  /'
done
