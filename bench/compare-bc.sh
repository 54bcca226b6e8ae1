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

# Throughput: the same seeded file of 100,000 integer expressions through quorvel-calc and bc.
calc="$build/src/app/quorvel-calc"
[ -x "$calc" ] || { echo "compare-bc: $calc is not built" >&2; exit 1; }
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
{ echo "scale=31"; cat "$work/sums.txt"; } >"$work/sums.bc"

t0=$(date +%s%N); "$calc" --places 30 <"$work/sums.txt" >"$work/ours.out"; t1=$(date +%s%N)
BC_LINE_LENGTH=0 bc -q "$work/sums.bc" </dev/null >"$work/bc.out"; t2=$(date +%s%N)
lines=$(wc -l <"$work/sums.txt")
[ "$(wc -l <"$work/ours.out")" -eq "$lines" ] || { echo "compare-bc: quorvel-calc skipped lines" >&2; exit 1; }
ours_rate=$(( lines * 1000000000 / (t1 - t0) ))
bc_rate=$(( lines * 1000000000 / (t2 - t1) ))
echo
printf '%-32s %12s %12s %8s\n' "throughput (lines/s)" "quorvel" "bc" "ratio"
printf '%-32s %12s %12s %8s\n' "$lines lines, --places 30" "$ours_rate" "$bc_rate" \
    "$(echo "scale=2; $ours_rate/$bc_rate" | bc -l)"

# One long expression: time and peak memory of a single run.
long="1"; while [ ${#long} -lt 1000 ]; do long="$long+(12*34-56/7)"; done
if command -v /usr/bin/time >/dev/null; then
    /usr/bin/time -f '%e %M' -o "$work/time" "$calc" "$long" >/dev/null
    read -r secs kb <"$work/time"
    echo
    echo "1,000-character expression: ${secs}s, peak memory ${kb} KiB"
fi
