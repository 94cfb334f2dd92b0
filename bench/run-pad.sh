#!/usr/bin/env bash
# Types the replay corpora of run-replay.sh through the Qt pad on the offscreen platform and
# prints, for each, the time from a key press to the candidate window repainted, the pad's
# resident memory afterwards and its start-up to the first paint.
#   words    2,000 words, a word a line, 20 lines a paragraph, 100,000-word user dictionary
#   running  the paragraph of running text typed 100 times, one paragraph each
# Usage: bench/run-pad.sh   (BUILD_DIR picks the build tree, build/ by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DYAKDROM_WERROR=ON >/dev/null
fi
cmake --build "$build" --target yakdrom yakdrom_lexicon yakdrom_font yakdrom_bench_pad >/dev/null
corpus="$build/bench/replay"
bench/make-replay-corpus.sh "$corpus" "$build/bin/yakdrom"
export QT_QPA_PLATFORM=offscreen
# The offscreen platform warns on every window it cannot raise or size-hint; only the
# figures are of interest.
quiet() { grep -v -e 'does not support' -e 'XDG_RUNTIME_DIR' || true; }
echo "words:"
"$build/bin/yakdrom_bench_pad" "$corpus/replay-2000.keys" "$corpus/user-dictionary-100k.txt" 20 2>&1 |
  quiet | sed 's/^/  /'
echo "running:"
"$build/bin/yakdrom_bench_pad" "$corpus/running-100.keys" - 1 2>&1 | quiet | sed 's/^/  /'
