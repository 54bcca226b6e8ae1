#!/usr/bin/env bash
# Side by side with GNU bc: the same long division through our driver and through bc.
# Usage: bench/compare-bc.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
driver="$build/bench/divide-driver"
command -v bc >/dev/null || { echo "compare-bc: bc is not installed" >&2; exit 1; }
[ -x "$driver" ] || { echo "compare-bc: $driver is not built" >&2; exit 1; }

a=123456789.123456789
b=987654.321987
# Best of five runs in nanoseconds, so a stray scheduler hiccup does not decide the ratio.
best_ns() {
    local best=0 t0 t1
    for _ in 1 2 3 4 5; do
        t0=$(date +%s%N); "$@" >/dev/null; t1=$(date +%s%N)
        (( best == 0 || t1 - t0 < best )) && best=$(( t1 - t0 ))
    done
    echo "$best"
}
seconds() { echo "scale=4; $1/1000000000" | bc -l; }

printf '%-32s %12s %12s %8s\n' "division" "quorvel (s)" "bc (s)" "ratio"
for p in 10000 50000; do
    ours=$(best_ns "$driver" "$a" "$b" "$p")
    theirs=$(best_ns sh -c "echo 'scale=$p; $a/$b' | BC_LINE_LENGTH=0 bc -q")
    # Same digits on both sides, or the timing means nothing.
    q1=$("$driver" "$a" "$b" "$p")
    q2=$(echo "scale=$p; $a/$b" | BC_LINE_LENGTH=0 bc -q)
    [ "$q1" = "$q2" ] || { echo "compare-bc: results differ at p=$p" >&2; exit 1; }
    ratio=$(echo "scale=3; $ours/$theirs" | bc -l)
    printf '%-32s %12s %12s %8s\n' "$a/$b p=$p" "$(seconds "$ours")" "$(seconds "$theirs")" "$ratio"
done

# Throughput and start-up: the same work through quorvel-calc and bc (scale = P + 1), as the
# median CPU time of paired runs and the peak memory of each side.
calc=${CALC:-$build/src/app/quorvel-calc}  # CALC= compares another build
[ -x "$calc" ] || { echo "compare-bc: $calc is not built" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
export BC_LINE_LENGTH=0  # one answer a line, however long
runs=${RUNS:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v seed=20261208 'BEGIN {
    srand(seed); split("+ - * /", ops, " ");
    for (i = 0; i < 100000; i++) {
        n = 2 + int(rand() * 5); line = 1 + int(rand() * 999);
        for (k = 1; k < n; k++) line = line ops[1 + int(rand() * 4)] (1 + int(rand() * 999));
        print line;
    }
}' >"$work/sums.txt"
# Brackets and decimals: two to four bracketed groups of two or three decimal operands.
awk -v seed=20261209 'BEGIN {
    srand(seed); split("+ - * /", ops, " ");
    for (i = 0; i < 100000; i++) {
        groups = 2 + int(rand() * 3); line = "";
        for (g = 0; g < groups; g++) {
            if (g > 0) line = line ops[1 + int(rand() * 4)];
            n = 2 + int(rand() * 2); group = "(" (1 + int(rand() * 999)) "." int(rand() * 100);
            for (k = 1; k < n; k++) group = group ops[1 + int(rand() * 4)] (1 + int(rand() * 99)) "." (1 + int(rand() * 9));
            line = line group ")";
        }
        print line;
    }
}' >"$work/brackets.txt"
# Prose for --batch: one integer calculation inside a sentence; bc gets the calculations alone.
awk -v seed=20261210 'BEGIN {
    srand(seed); split("+ - * /", ops, " ");
    for (i = 0; i < 100000; i++) {
        n = 2 + int(rand() * 4); e = 1 + int(rand() * 999);
        for (k = 1; k < n; k++) e = e ops[1 + int(rand() * 4)] (1 + int(rand() * 999));
        print "Order " i ": the shop sold " e " boxes this week.";
        print e >"/dev/stderr";
    }
}' >"$work/prose.txt" 2>"$work/prose-exprs.txt"
for f in sums brackets prose-exprs; do { echo "scale=31"; cat "$work/$f.txt"; } >"$work/$f.bc"; done
echo "2+3" >"$work/start.bc"

# Same number of answers on both sides, or the timing means nothing.
for f in sums brackets; do
    ours=$("$calc" --places 30 <"$work/$f.txt" | wc -l)
    theirs=$(BC_LINE_LENGTH=0 bc -q "$work/$f.bc" </dev/null | wc -l)
    [ "$ours" -eq "$theirs" ] || { echo "compare-bc: $f: $ours answers, bc $theirs" >&2; exit 1; }
done
# The batch run prints a log line for every calculation it found in the prose.
ours=$("$calc" --places 30 --batch "$work/prose.txt" --output "$work/prose.rob" | wc -l)
theirs=$(BC_LINE_LENGTH=0 bc -q "$work/prose-exprs.bc" </dev/null | wc -l)
[ "$ours" -eq "$theirs" ] || { echo "compare-bc: prose: $ours calculations, bc $theirs" >&2; exit 1; }

# shellcheck source=callgrind.sh
. "$here/callgrind.sh"

echo
printf '%-44s %10s %10s %7s %9s %9s' "median CPU time of $runs paired runs" "quorvel" "bc" \
    "ratio" "KiB ours" "KiB bc"
if (( have_callgrind )); then
    printf ' %14s %14s %7s' "instr ours" "instr bc" "ratio"
fi
echo
# bc finds its work in its own file; its standard input is empty, or it would calculate every
# line a second time.
row() {  # label runs stdin 'ours' 'bc' [scale]
    local label=$1 n=$2 input=$3 a=$4 b=$5 scale=${6:-1} ta tb ka kb ia ib
    read -r ta tb < <(python3 "$here/paired_runs.py" "$n" "$input" "$a" "$b" /dev/null)
    # shellcheck disable=SC2086  # the commands are word lists on purpose
    ka=$(/usr/bin/time -f %M $a <"$input" 2>&1 >/dev/null | tail -1)
    # shellcheck disable=SC2086
    kb=$(/usr/bin/time -f %M $b </dev/null 2>&1 >/dev/null | tail -1)
    printf '%-44s %10s %10s %7s %9s %9s' "$label" \
        "$(echo "scale=6; $ta*$scale/1" | bc -l)" "$(echo "scale=6; $tb*$scale/1" | bc -l)" \
        "$(echo "scale=2; $ta/$tb" | bc -l)" "$ka" "$kb"
    if (( have_callgrind )); then
        # shellcheck disable=SC2086
        ia=$(instructions "$input" $a)
        # shellcheck disable=SC2086
        ib=$(instructions /dev/null $b)
        printf ' %14s %14s %7s' "$ia" "$ib" "$(echo "scale=2; $ia/$ib" | bc -l)"
    fi
    echo
}
row "100,000 integer lines, P = 30 (s)" "$runs" "$work/sums.txt" "$calc --places 30" \
    "bc -q $work/sums.bc"
row "100,000 bracketed-decimal lines, P = 30 (s)" "$runs" "$work/brackets.txt" \
    "$calc --places 30" "bc -q $work/brackets.bc"
row "--batch, 100,000 prose lines, P = 30 (s)" "$runs" /dev/null \
    "$calc --places 30 --batch $work/prose.txt --output $work/prose.rob" \
    "bc -q $work/prose-exprs.bc"
row "start-up, 2+3 (ms)" 200 /dev/null "$calc 2+3" "bc -q $work/start.bc" 1000

# One long expression, the worst case of the step text: every operation rewrites it.
long="1"; while [ ${#long} -lt 1000 ]; do long="$long+(12*34-56/7)"; done
{ echo "scale=31"; echo "$long"; } >"$work/long.bc"
row "1,000-character bracketed expression (ms)" 50 /dev/null "$calc --places 30 $long" \
    "bc -q $work/long.bc" 1000
