#!/usr/bin/env bash
# How the cost of a line grows with its length and with the decimal places, beside GNU bc
# (scale = P + 1, reading its work once from its own file). Instructions come from callgrind
# and lead; the median CPU time of paired runs stands beside them. Without valgrind only the
# CPU times are shown.
# Usage: bench/compare-scaling.sh [BUILD_DIR]     CALC=path measures another quorvel-calc.
set -euo pipefail
build=${1:-build}
calc=${CALC:-$build/src/app/quorvel-calc}
command -v bc >/dev/null || { echo "compare-scaling: bc is not installed" >&2; exit 1; }
[ -x "$calc" ] || { echo "compare-scaling: $calc is not built" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
export BC_LINE_LENGTH=0
runs=${RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=callgrind.sh
. "$here/callgrind.sh"

cpu() {  # stdin_ours stdin_bc 'ours' 'bc' -> "ours_s bc_s"
    python3 "$here/paired_runs.py" "$runs" "$1" "$3" "$4" "$2"
}

# Lines of about LENGTH characters: bracketed groups of three integers, thirty groups to a
# bracketed block, so that no stretch nears the 255-operator limit.
lines_of() {  # length count seed
    awk -v target=$1 -v count=$2 -v seed=$3 'BEGIN {
        srand(seed); split("+ - * /", ops, " ");
        for (i = 0; i < count; i++) {
            line = 1 + int(rand() * 999); block = ""; groups = 0;
            if (target < 40) {
                print line ops[1 + int(rand() * 4)] (1 + int(rand() * 999)) ops[1 + int(rand() * 4)] \
                    (1 + int(rand() * 99));
                continue;
            }
            while (length(line) + length(block) + 16 < target || (block == "" && line ~ /^[0-9]+$/)) {
                g = "(" (1 + int(rand() * 999)) ops[1 + int(rand() * 4)] (1 + int(rand() * 999)) \
                    ops[1 + int(rand() * 4)] (1 + int(rand() * 999)) ")";
                block = block (groups > 0 ? ops[1 + int(rand() * 2)] : "") g;
                if (++groups == 30) { line = line "+(" block ")"; block = ""; groups = 0; }
            }
            if (block != "") line = line "+(" block ")";
            print line;
        }
    }'
}

printf 'cost per line by line length, P = 30 (instructions less the start-up)\n'
printf '%7s %6s %12s %12s %12s %7s %7s %9s %9s %9s %6s\n' length lines ours --steps bc ratio \
    'ratio-s' 'cpu ours' 'cpu -s' 'cpu bc' ratio
declare -A per_ours per_steps per_bc cpu_ours cpu_steps
echo "" >"$work/empty.txt"
echo "scale=31" >"$work/empty.bc"
# The CPU time of start-up alone, taken off before the cost per line is compared.
read -r start_ours start_steps < <(python3 "$here/paired_runs.py" "$runs" "$work/empty.txt" \
    "$calc --places 30" "$calc --places 30 --steps" 2>/dev/null)
base_ours=0 base_steps=0 base_bc=0
if (( have_callgrind )); then
    base_ours=$(instructions "$work/empty.txt" "$calc" --places 30)
    base_steps=$(instructions "$work/empty.txt" "$calc" --places 30 --steps)
    base_bc=$(instructions /dev/null bc -q "$work/empty.bc")
fi
for length in 10 100 1000 2000 3900; do
    count=$(( 400000 / length )); (( count > 20000 )) && count=20000
    lines_of "$length" "$count" "$length" >"$work/l$length.txt"
    { echo "scale=31"; cat "$work/l$length.txt"; } >"$work/l$length.bc"
    ours=$("$calc" --places 30 <"$work/l$length.txt" | wc -l)
    theirs=$(bc -q "$work/l$length.bc" </dev/null | wc -l)
    [ "$ours" -eq "$theirs" ] || { echo "compare-scaling: $length: $ours answers, bc $theirs" >&2; exit 1; }
    read -r ta tb < <(cpu "$work/l$length.txt" /dev/null "$calc --places 30" "bc -q $work/l$length.bc")
    read -r ts _ < <(cpu "$work/l$length.txt" /dev/null "$calc --places 30 --steps" \
        "bc -q $work/l$length.bc")
    cpu_ours[$length]=$(echo "($ta - $start_ours) / $count" | bc -l)
    cpu_steps[$length]=$(echo "($ts - $start_steps) / $count" | bc -l)
    if (( have_callgrind )); then
        io=$(instructions "$work/l$length.txt" "$calc" --places 30)
        is=$(instructions "$work/l$length.txt" "$calc" --places 30 --steps)
        ib=$(instructions /dev/null bc -q "$work/l$length.bc")
        per_ours[$length]=$(( (io - base_ours) / count ))
        per_steps[$length]=$(( (is - base_steps) / count ))
        per_bc[$length]=$(( (ib - base_bc) / count ))
        printf '%7s %6s %12s %12s %12s %7s %7s' "$length" "$count" "${per_ours[$length]}" \
            "${per_steps[$length]}" "${per_bc[$length]}" \
            "$(echo "scale=2; ${per_ours[$length]}/${per_bc[$length]}" | bc)" \
            "$(echo "scale=2; ${per_steps[$length]}/${per_bc[$length]}" | bc)"
    else
        printf '%7s %6s %12s %12s %12s %7s %7s' "$length" "$count" - - - - -
    fi
    printf ' %9s %9s %9s %6s\n' "$ta" "$ts" "$tb" "$(echo "scale=2; $ta/$tb" | bc -l)"
done
exponent() { echo "scale=3; l($2/$1)/l(3900/1000)" | bc -l; }
if (( have_callgrind )); then
    printf 'growth exponent of the cost per line, 1,000 to 3,900 characters: ours %s, --steps %s, bc %s\n' \
        "$(exponent "${per_ours[1000]}" "${per_ours[3900]}")" \
        "$(exponent "${per_steps[1000]}" "${per_steps[3900]}")" \
        "$(exponent "${per_bc[1000]}" "${per_bc[3900]}")"
fi
printf 'the same by CPU medians, start-up taken off: ours %s, --steps %s\n' \
    "$(exponent "${cpu_ours[1000]}" "${cpu_ours[3900]}")" \
    "$(exponent "${cpu_steps[1000]}" "${cpu_steps[3900]}")"

echo
printf 'the same 200 lines by decimal places (bc: scale = P + 1)\n'
printf '%7s %14s %14s %7s %9s %9s %6s\n' places 'instr ours' 'instr bc' ratio 'cpu ours' 'cpu bc' ratio
awk -v seed=20261211 'BEGIN {
    srand(seed);
    for (i = 0; i < 200; i++) {
        a = 1 + int(rand() * 999); b = 1 + int(rand() * 97); c = 1 + int(rand() * 999);
        print "(" a "/" b "+" c ")*(" c "-" a "/7)/" (b + 3) "-" a "*" b "/" (c + 1);
    }
}' >"$work/places.txt"
for places in 10 100 1000 10000; do
    { echo "scale=$(( places + 1 ))"; cat "$work/places.txt"; } >"$work/p$places.bc"
    read -r ta tb < <(cpu "$work/places.txt" /dev/null "$calc --places $places" "bc -q $work/p$places.bc")
    if (( have_callgrind )); then
        io=$(instructions "$work/places.txt" "$calc" --places "$places")
        ib=$(instructions /dev/null bc -q "$work/p$places.bc")
        printf '%7s %14s %14s %7s' "$places" "$io" "$ib" "$(echo "scale=2; $io/$ib" | bc)"
    else
        printf '%7s %14s %14s %7s' "$places" - - -
    fi
    printf ' %9s %9s %6s\n' "$ta" "$tb" "$(echo "scale=2; $ta/$tb" | bc -l)"
done
