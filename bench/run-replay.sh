#!/usr/bin/env bash
# Replays two corpora through the input controller with the shipped lexicon, once with
# candidates on and once with them off, and prints the figures of `yakdrom replay` for
# each run: keys per second, per-key latency, peak memory, when the first key was served
# and when the lexicon load finished.
#   words    2,000 words spread over the shipped list, with a 100,000-word user dictionary
#   running  a paragraph of running text typed 100 times, into a fresh user dictionary
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
replay() {
  local name=$1 keys=$2 dictionary=$3
  for suggestions in true false; do
    for run in $(seq "$runs"); do
      rm -f "$scratch/user-dictionary.txt"
      [ -z "$dictionary" ] || cp "$dictionary" "$scratch/user-dictionary.txt"
      echo "$name, candidates $([ "$suggestions" = true ] && echo on || echo off), run $run:"
      "$build/bin/yakdrom" replay "$keys" --user-dictionary "$scratch/user-dictionary.txt" \
        --set "Yakdrom.suggestionEnabled=$suggestions" | sed 's/^/  /'
    done
  done
}
replay words "$corpus/replay-2000.keys" "$corpus/user-dictionary-100k.txt"
replay running "$corpus/running-100.keys" ""
