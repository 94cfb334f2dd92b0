#!/usr/bin/env bash
# Types the same keys through two builds of `yakdrom` and fails when anything they show
# differs: the document, the marked text, every candidate in order, the page, selection and
# explanation, after every key of a stream taken from the replay corpus (with candidates
# picked by number, Space and the arrows along the way), for each panel style, with and
# without the 100,000-word user dictionary; then each whole corpus traced key by key. Both
# corpora are checked: the words of the list and the running text.
# Usage: bench/compare-candidates.sh OLD_YAKDROM NEW_YAKDROM LEXICON CORPUS_DIR [KEYS]
#   CORPUS_DIR comes from bench/make-replay-corpus.sh; KEYS (300 by default) is how many
#   keys of the stream are checked one by one.
set -euo pipefail
old=${1:?usage: bench/compare-candidates.sh OLD NEW LEXICON CORPUS_DIR [KEYS]}
new=${2:?usage: bench/compare-candidates.sh OLD NEW LEXICON CORPUS_DIR [KEYS]}
lexicon=${3:?usage: bench/compare-candidates.sh OLD NEW LEXICON CORPUS_DIR [KEYS]}
corpus=${4:?usage: bench/compare-candidates.sh OLD NEW LEXICON CORPUS_DIR [KEYS]}
count=${5:-300}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One key a line; picks and arrows between lines exercise confirming and learning. The
# running text has one line a paragraph, so it gets them every 40 keys instead.
keyStream() {
  fold -w "$2" "$corpus/$1" |
    awk '{ n = split($0, c, ""); for (i = 1; i <= n; i++) print c[i]
           if (NR % 5 == 0) print "1"; if (NR % 7 == 0) { print "{down}"; print "{space}" }
           if (NR % 11 == 0) print "{escape}" }' |
    head -n "$count" || true
}

# Prints what `yakdrom type` shows after the first $1 keys of the stream with binary $2,
# panel style $3 and user dictionary $4 (or none).
show() {
  local keys binary=$2 style=$3 dictionary=$4 copy=()
  keys=$(head -n "$1" "$scratch/stream" | tr -d '\n')
  if [ "$dictionary" != none ]; then
    copy=("$scratch/ud-$BASHPID.txt")
    cp "$dictionary" "${copy[0]}"
    copy=(--user-dictionary "${copy[0]}")
  fi
  "$binary" type --json --trace --lexicon "$lexicon" --set "Yakdrom.panelStyle=$style" \
    "${copy[@]}" "$keys" 2>&1 | tail -n 1
}
export -f show
export scratch lexicon

failed=0
for keys in replay-2000.keys:1000 running-100.keys:40; do
  keyStream "${keys%:*}" "${keys#*:}" >"$scratch/stream"
  for style in 0 1 2; do
    for dictionary in none "$corpus/user-dictionary-100k.txt"; do
      for side in old new; do
        seq 1 "$count" |
          xargs -P 2 -I{} bash -c 'printf "%s\t%s\n" {} "$(show {} "$0" "$1" "$2")"' \
            "${!side}" "$style" "$dictionary" | sort -n >"$scratch/$side"
      done
      if ! cmp -s "$scratch/old" "$scratch/new"; then
        echo "differs: ${keys%:*}, panel style $style, user dictionary $dictionary"
        diff "$scratch/old" "$scratch/new" | head -n 6
        failed=1
      fi
    done
  done

  # The whole corpus in one session, every key's outcome traced.
  all=$(fold -w "${keys#*:}" "$corpus/${keys%:*}" |
    awk '{ printf "%s", $0; if (NR % 5 == 0) printf "1" }')
  for side in old new; do
    cp "$corpus/user-dictionary-100k.txt" "$scratch/ud.txt"
    "${!side}" type --json --trace --lexicon "$lexicon" --user-dictionary "$scratch/ud.txt" \
      "$all" >"$scratch/whole-$side" 2>&1
  done
  if ! cmp -s "$scratch/whole-old" "$scratch/whole-new"; then
    echo "differs: the whole of ${keys%:*} in one session"
    failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "same output for $count keys x 6 settings x 2 corpora and each whole corpus"
exit "$failed"
