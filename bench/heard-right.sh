#!/usr/bin/env bash
# Listens to what quorvel-calc --speak-to says, with an independent recogniser (pocketsphinx,
# en-us model) held to a grammar of the calculator's words, and prints how much of it is heard
# right. A figure to compare recordings and word gaps by, not a pass/fail test.
#   bash bench/heard-right.sh [BUILD]      N=200 SEED=22 (results; expressions N/4, pairs N/10)
# Also recognises each word file on its own, and, when the synthesiser of generate.sh is
# installed, compares a result's speaking time with the voice saying the sentence whole.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
tree=$here/../res/sounds
sounds=${SOUNDS:-$tree}  # another folder to try other recordings
calc="$build/src/app/quorvel-calc"
[ -x "$calc" ] || { echo "heard-right: no $calc; build first" >&2; exit 1; }

if ! command -v pocketsphinx_batch >/dev/null || [ ! -d /usr/share/pocketsphinx/model/en-us ]; then
    echo "heard-right: installing pocketsphinx and pocketsphinx-en-us"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get install -y --no-install-recommends pocketsphinx pocketsphinx-en-us >/dev/null
fi
command -v python3 >/dev/null || { echo "heard-right: needs python3" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of the program beside the recordings of this tree, which it finds before any other.
cp "$calc" "$work/quorvel-calc"
mkdir "$work/sounds"
cp "$sounds"/*.wav "$work/sounds/"
N=${N:-200} SEED=${SEED:-22} CALC=$work/quorvel-calc SOUNDS=$sounds WORK=$work \
    TREE=$tree GENERATE="$tree/generate.sh" python3 "$here/heard_right.py"
