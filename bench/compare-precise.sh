#!/usr/bin/env bash
# The precise functions beside bc -l, one function at a time at 100 and 1000 places: the best
# of three runs of quorvel-calc --precise (start-up included) and of bc at the same scale.
# PLACES="100 1000 10000" adds a column; bc is then left out above 1000 places.
# Usage: bench/compare-precise.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
calc=${CALC:-$build/src/app/quorvel-calc}
command -v bc >/dev/null || { echo "compare-precise: bc is not installed" >&2; exit 1; }
[ -x "$calc" ] || { echo "compare-precise: $calc is not built" >&2; exit 1; }

best_ns() {
    local best=0 t0 t1
    for _ in 1 2 3; do
        t0=$(date +%s%N); "$@" >/dev/null; t1=$(date +%s%N)
        (( best == 0 || t1 - t0 < best )) && best=$(( t1 - t0 ))
    done
    echo "$best"
}
seconds() { echo "scale=4; $1/1000000000" | bc -l; }

# name, our expression, the same in bc -l
cases=(
    "sqrt|sqrt(2)|sqrt(2)"
    "exp|exp(1.3)|e(1.3)"
    "ln|ln(2.5)|l(2.5)"
    "log|log(2.5)|l(2.5)/l(10)"
    "sin|sin(0.7)|s(0.7)"
    "cos|cos(0.7)|c(0.7)"
    "tan|tan(0.7)|s(0.7)/c(0.7)"
    "arcsin|arcsin(0.6)|a(0.6/sqrt(1-0.6^2))"
    "arccos|arccos(0.6)|a(sqrt(1-0.6^2)/0.6)"
    "arctan|arctan(0.7)|a(0.7)"
    "sinh|sinh(0.7)|(e(0.7)-e(-0.7))/2"
    "cosh|cosh(0.7)|(e(0.7)+e(-0.7))/2"
    "tanh|tanh(0.7)|(e(1.4)-1)/(e(1.4)+1)"
    "power|2.5^0.37|e(0.37*l(2.5))"
)
printf '%-8s %7s %12s %12s %8s\n' function places "quorvel (s)" "bc -l (s)" ratio
for p in ${PLACES:-100 1000}; do
    for c in "${cases[@]}"; do
        IFS='|' read -r name ours theirs <<<"$c"
        q=$(best_ns "$calc" --precise --places "$p" "$ours")
        if (( p <= 1000 )); then
            b=$(best_ns sh -c "echo 'scale=$p; $theirs' | BC_LINE_LENGTH=0 bc -lq")
            printf '%-8s %7s %12s %12s %8s\n' "$name" "$p" "$(seconds "$q")" "$(seconds "$b")" \
                "$(echo "scale=3; $q/$b" | bc -l)"
        else
            printf '%-8s %7s %12s %12s %8s\n' "$name" "$p" "$(seconds "$q")" - -
        fi
    done
done
