#!/usr/bin/env bash
# Regenerates the word recordings in this folder (see README.md for the voice and its figures):
#   sudo apt-get install flite sox && bash res/sounds/generate.sh
#   VOICE=festival-slt-hts OUT=/tmp/try bash res/sounds/generate.sh   another voice, elsewhere
#   bash res/sounds/generate.sh --say TEXT FILE.wav                the voice saying TEXT whole
#   bash res/sounds/generate.sh --check                            fails without the synthesiser
# Each word is cut 20 ms before its onset with a 5 ms fade-in and shortly after its end, brought
# to one speech level and written as 16-bit mono 16 kHz. Words listed with a carrier in
# words.txt ("three|five") are cut from the carrier phrase, so their vowel does not run on as
# it does at the end of an utterance.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
voice=${VOICE:-flite-slt}
out=${OUT:-$here}

case $voice in
    festival-slt-hts) festvoice=voice_cmu_us_slt_arctic_hts ;;
    festival-kal) festvoice=voice_kal_diphone ;;
    flite-*) festvoice="" ;;
    *) echo "generate.sh: unknown voice $voice" >&2; exit 1 ;;
esac
need=(sox)
if [ -n "$festvoice" ]; then need+=(festival); else need+=(flite); fi
for tool in "${need[@]}"; do
    command -v "$tool" >/dev/null || { echo "generate.sh: $tool is not installed" >&2; exit 1; }
done

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# say TEXT FILE [WORDS]: synthesises TEXT; with WORDS, prints where the first WORDS words end.
say() {
    if [ -z "$festvoice" ]; then
        flite -voice "${voice#flite-}" -t "$1" -o "$2"
        return
    fi
    local text=${1//\"/}
    cat >"$tmp/say.scm" <<EOF
($festvoice)
(set! u (SynthText "$text"))
(set! w (utt.relation.first u 'Word))
(set! n ${3:-0})
(while (> n 1) (set! w (item.next w)) (set! n (- n 1)))
(if (> ${3:-0} 0) (format t "%f\n" (item.feat w "word_end")))
(utt.save.wave u "$2" 'riff)
EOF
    festival -b "$tmp/say.scm"
}

case "${1:-}" in
    --check) exit 0 ;;
    --say) say "$2" "$3" >/dev/null; exit 0 ;;
esac

# Seconds from the start of FILE to its first sound above -40 dBFS (of its reverse: its last).
onset() {
    local total rest
    total=$(soxi -D "$1")
    rest=$(sox "$1" -n ${2:-} silence 1 0.002 -40d stat 2>&1 | awk '/^Length/ {print $3}')
    echo "$total ${rest:-0}" | awk '{printf "%.4f", $1 - $2}'
}

level=-20  # the RMS of every word, dBFS
mkdir -p "$out"
count=0
while read -r name group text; do
    [[ $name == \#* || -z $name ]] && continue
    words=0
    [ -n "$festvoice" ] || text=${text%%|*}
    if [[ $text == *"|"* ]]; then
        words=$(wc -w <<<"${text%%|*}")
        text=${text/|/ }
    fi
    end=$(say "$text" "$tmp/raw.wav" "$words" | tail -1)
    sox "$tmp/raw.wav" -b 32 -e float -c 1 "$tmp/16k.wav" rate 16000
    if [ "$words" -gt 0 ]; then
        sox "$tmp/16k.wav" "$tmp/cut.wav" trim 0 "$end"
        mv "$tmp/cut.wav" "$tmp/16k.wav"
    fi
    total=$(soxi -D "$tmp/16k.wav")
    first=$(onset "$tmp/16k.wav")
    last=$(echo "$total $(onset "$tmp/16k.wav" reverse)" | awk '{printf "%.4f", $1 - $2}')
    from=$(echo "$first" | awk '{v = $1 - 0.020; printf "%.4f", (v < 0 ? 0 : v)}')
    to=$(echo "$last $total" | awk '{v = $1 + 0.030; printf "%.4f", (v > $2 ? $2 : v)}')
    sox "$tmp/16k.wav" "$tmp/word.wav" trim "$from" "=$to" fade t 0.005 0 0.015
    # One speech level, but never past -1 dBFS at the peak.
    gain=$(sox "$tmp/word.wav" -n stat 2>&1 | awk -v want="$level" '
        /^RMS +amplitude/ {rms = $3} /^Maximum amplitude/ {hi = $3} /^Minimum amplitude/ {lo = -$3}
        END {peak = hi > lo ? hi : lo; g = want - 20 * log(rms) / log(10);
             cap = -1 - 20 * log(peak) / log(10); printf "%.2f", (g < cap ? g : cap)}')
    sox "$tmp/word.wav" -b 16 -e signed-integer "$out/$name.wav" gain "$gain" dither -s
    count=$((count + 1))
done <"$here/words.txt"
echo "generate.sh: wrote $count recordings with $voice to $out"
