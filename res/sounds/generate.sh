#!/usr/bin/env bash
# Regenerates the word recordings in this folder (see README.md for the voice and its figures):
#   sudo apt-get install flite sox && bash res/sounds/generate.sh
#   VOICE=festival-slt-hts OUT=/tmp/try bash res/sounds/generate.sh   another voice, elsewhere
#   PLAIN=1 OUT=/tmp/try bash res/sounds/generate.sh    every word said alone, no recipe
#   bash res/sounds/generate.sh --say TEXT FILE.wav                the voice saying TEXT whole
#   bash res/sounds/generate.sh --check                            fails without the synthesiser
# words.txt gives each word a recipe: "= TEXT" says TEXT instead (a spelling the voice gets
# right), "| CARRIER" cuts the word from the start of the phrase "WORD CARRIER", so it is said
# at the pace and pitch of running speech instead of drawn out like a last word, and "* F"
# stretches its durations by F. Each word is then cut 20 ms before its onset with a 5 ms fade-in,
# brought to one speech level and written as 16-bit mono 16 kHz.
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

# say TEXT FILE [WORDS [STRETCH]]: synthesises TEXT; with WORDS > 0, prints the time at which
# its first WORDS words end.
say() {
    local text=$1 wav=$2 words=${3:-0} stretch=${4:-1}
    if [ -z "$festvoice" ]; then
        local segments
        segments=$(flite -voice "${voice#flite-}" --setf duration_stretch="$stretch" -psdur \
            -t "$text" -o "$wav")
        [ "$words" -gt 0 ] || return 0
        # The phones of the leading words alone, then where the same count ends in the phrase
        # ("pau" is silence, not a phone of a word).
        local lead count
        lead=$(cut -d' ' -f"1-$words" <<<"$text")
        count=$(flite -voice "${voice#flite-}" -ps -t "$lead" -o none | tr ' ' '\n' |
            grep -cv '^\(pau\|\)$')
        tr ' ' '\n' <<<"$segments" | grep -v '^pau:' | grep . | sed -n "${count}p" | cut -d: -f2
        return 0
    fi
    text=${text//\"/}
    cat >"$tmp/say.scm" <<SCM
($festvoice)
(Parameter.set 'Duration_Stretch $stretch)
(set! u (SynthText "$text"))
(set! w (utt.relation.first u 'Word))
(set! n $words)
(while (> n 1) (set! w (item.next w)) (set! n (- n 1)))
(if (> $words 0) (format t "%f\n" (item.feat w "word_end")))
(utt.save.wave u "$wav" 'riff)
SCM
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

# field RECIPE MARK: the part of RECIPE after MARK, up to the next mark, trimmed.
field() {
    [[ $1 == *"$2"* ]] || return 0
    local rest=${1#*"$2"}
    rest=${rest%%[=|*]*}
    xargs <<<"$rest"
}

level=-20  # the RMS of every word, dBFS
mkdir -p "$out"
count=0
while read -r name group recipe; do
    [[ $name == \#* || -z $name ]] && continue
    phrase=$(xargs <<<"${recipe%%[=|*]*}")
    text=$(field "$recipe" =)
    carrier=$(field "$recipe" "|")
    stretch=$(field "$recipe" "*")
    text=${text:-$phrase}
    if [ -n "${PLAIN:-}" ]; then carrier="" stretch=""; fi
    words=0
    if [ -n "$carrier" ]; then
        words=$(wc -w <<<"$text")
        text="$text $carrier"
    fi
    end=$(say "$text" "$tmp/raw.wav" "$words" "${stretch:-1}" | tail -1)
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
    # One speech level, but never past -1 dBFS at the peak; -R makes the dither repeatable, so
    # the same recipe gives the same bytes.
    gain=$(sox "$tmp/word.wav" -n stat 2>&1 | awk -v want="$level" '
        /^RMS +amplitude/ {rms = $3} /^Maximum amplitude/ {hi = $3} /^Minimum amplitude/ {lo = -$3}
        END {peak = hi > lo ? hi : lo; g = want - 20 * log(rms) / log(10);
             cap = -1 - 20 * log(peak) / log(10); printf "%.2f", (g < cap ? g : cap)}')
    sox -R "$tmp/word.wav" -b 16 -e signed-integer "$out/$name.wav" gain "$gain" dither -s
    count=$((count + 1))
done <"$here/words.txt"
echo "generate.sh: wrote $count recordings with $voice to $out"
