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
