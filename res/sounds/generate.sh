#!/usr/bin/env bash
# Regenerates the word recordings in this folder from the flite synthesiser (voice slt):
#   sudo apt-get install flite sox && bash res/sounds/generate.sh
# Each file is trimmed of leading and trailing silence, normalised to -1 dBFS and written as
# 16-bit mono 16 kHz, so all recordings share one format and the committed files stay small.
# The file names are the ones the wording rules play; the texts are what a listener should hear.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
command -v flite >/dev/null || { echo "generate.sh: flite is not installed" >&2; exit 1; }
command -v sox >/dev/null || { echo "generate.sh: sox is not installed" >&2; exit 1; }

words=(
    # Digits, first form (before a scale word) and second form.
    "one1=one" "two1=two" "three1=three" "four1=four" "five1=five"
    "six1=six" "seven1=seven" "eight1=eight" "nine1=nine"
    "one2=one" "two2=two" "three2=three" "four2=four" "five2=five"
    "six2=six" "seven2=seven" "eight2=eight" "nine2=nine" "zero=zero"
    # Ten to nineteen and the tens, under the names the wording uses.
    "ten=ten" "eleven=eleven" "twelve=twelve" "thirteen=thirteen" "forteen=fourteen"
    "fifteen=fifteen" "sixteen=sixteen" "seventeen=seventeen" "eighteen=eighteen"
    "ninteen=nineteen"
    "twenty=twenty" "thirty=thirty" "forty=forty" "fifty=fifty" "sixty=sixty"
    "seventy=seventy" "eighty=eighty" "ninty=ninety"
    "hundred=hundred" "thousand=thousand" "million=million" "billion=billion"
    # Signs and marks.
    "plus=plus" "minus=minus" "times=times" "divide=divided by" "power=to the power of"
    "openbracket=open bracket" "closebracket=close bracket" "point=point" "equals=equals"
    # Function words.
    "sin=sine" "sinh=hyperbolic sine" "arcsin=arc sine"
    "cos=cosine" "cosh=hyperbolic cosine" "arccos=arc cosine"
    "tan=tangent" "tanh=hyperbolic tangent" "arctan=arc tangent"
    "exp=exponential" "ln=natural log" "integer=integer" "abs=absolute value"
    "radian=radian" "degree=degree" "sqrt=square root" "logarithm=logarithm"
    # Button words.
    "welcome=welcome" "help=help" "calculate=calculate" "minimize=minimize"
    "talkinput=talk input" "talkresult=talk result" "talkinout=talk input and result"
    "paste=paste" "function=function" "log=log" "setting=setting" "test=test"
    "exit=exit" "copy=copy"
)
for letter in {a..z}; do
    words+=("$letter=$letter")
done

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
for entry in "${words[@]}"; do
    name="${entry%%=*}"
    text="${entry#*=}"
    flite -voice slt -t "$text" -o "$tmp/raw.wav"
    sox "$tmp/raw.wav" -b 16 -c 1 -r 16000 "$here/$name.wav" \
        silence 1 0.01 0.1% reverse silence 1 0.01 0.1% reverse norm -1
done
echo "generate.sh: wrote ${#words[@]} recordings to $here"
