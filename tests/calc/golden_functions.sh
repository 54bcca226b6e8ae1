#!/usr/bin/env bash
# The functions with precise functions off, as quorvel-calc answered them before the setting
# existed: every result, step line and message must read the same.
# Usage: golden_functions.sh QUORVEL-CALC INPUT GOLDEN
set -euo pipefail
calc=$1 input=$2 golden=$3
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
for setting in "--places 30 --radians" "--places 5 --degrees" "--places 12 --radians" \
               "--places 100 --degrees"; do
    echo "### $setting"
    while IFS= read -r e; do
        echo "> $e"
        # shellcheck disable=SC2086
        rc=0; "$calc" $setting --steps -- "$e" 2>&1 || rc=$?
        echo "rc=$rc"
    done <"$input"
done >"$actual"
diff -u "$golden" "$actual"
