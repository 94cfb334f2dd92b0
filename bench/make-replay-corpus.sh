#!/usr/bin/env bash
# Writes the replay benchmark's inputs into OUT_DIR, generated from the shipped word list:
#   replay-2000.keys        the keys of 2,000 words spread over the list, one word a line,
#                           as `yakdrom keys` types them
#   user-dictionary-100k.txt the first 100,000 words of the list, frequencies descending
#   running-100.keys        the keys of bench/running-text.txt, a paragraph of running text
#                           written for this benchmark (CC0 1.0), typed 100 times
# Words whose keys the candidate window would take (digits, Space, Return, Escape, arrows)
# are left out: with candidates on they would pick candidates instead of typing.
# Usage: bench/make-replay-corpus.sh OUT_DIR [YAKDROM]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:?usage: bench/make-replay-corpus.sh OUT_DIR [YAKDROM]}
yakdrom=${2:-build/bin/yakdrom}
words=resources/data/bo-words.txt
mkdir -p "$out"

# Every 80th word gives some 2,190 candidates for the 2,000 that are kept.
awk 'NR % 80 == 0' "$words" |
  xargs -d '\n' "$yakdrom" keys 2>/dev/null |
  grep -Ev '[0-9]|\{(escape|space|return|left|right|up|down)\}' |
  head -n 2000 >"$out/replay-2000.keys" || true
kept=$(wc -l <"$out/replay-2000.keys")
if [ "$kept" -ne 2000 ]; then
  echo "make-replay-corpus: only $kept words could be typed" >&2
  exit 1
fi

awk 'NR <= 100000 { print $0 " " (100001 - NR) }' "$words" >"$out/user-dictionary-100k.txt"

paragraph=$("$yakdrom" keys "$(cat bench/running-text.txt)")
for _ in $(seq 100); do echo "$paragraph"; done >"$out/running-100.keys"
