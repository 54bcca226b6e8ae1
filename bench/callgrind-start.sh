#!/usr/bin/env bash
# Instructions of one start of the window, counted by callgrind from exec to the first frame
# (the probe's note of it) and to the probe's end (a settled second later, with the zoom steps
# painted ahead on a worker when that second outlasts the timer): a second day (the data file
# of a first day that was ended as by Exit) and a first start (no data file: greeting and tip
# window). Needs a display; run.sh runs it under Xvfb.
# Usage: bench/callgrind-start.sh [BUILD_DIR [QUORVEL OPTION...]], e.g. --style contrast;
# the options are given to the first day and to both counted starts.
# QUORVEL=PATH counts another build.
set -euo pipefail
build=${1:-build}
shift || true
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=callgrind.sh
source "$here/callgrind.sh"
program=${QUORVEL:-$build/src/app/quorvel}
[ -x "$program" ] || { echo "callgrind-start: $program is not built" >&2; exit 1; }
if [ "$have_callgrind" -eq 0 ]; then
    echo "callgrind-start: skipped, no valgrind (or NO_CALLGRIND is set)"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The first day, ended by SIGTERM once settled, which stores the data file.
QUORVEL_STARTUP_PROBE=$work/day1.probe "$program" --data "$work/data" "$@" 2>/dev/null &
pid=$!
for _ in $(seq 200); do
    grep -q rss_kb "$work/day1.probe" 2>/dev/null && break
    sleep 0.05
done
kill -TERM "$pid"
wait "$pid"
[ -f "$work/data/SysData.dat" ] || { echo "callgrind-start: no data file after a day" >&2; exit 1; }

export QUORVEL_STARTUP_PROBE=$work/probe QUORVEL_PROBE_QUIT=1
# Prints the instructions to the first frame and to the end. callgrind writes a part before
# each call of the probe's note of the frame; the first part ends at the first frame.
count() {  # data folder
    rm -f "$work"/cg*
    valgrind --tool=callgrind --dump-before='*StartupProbe::painted*' \
        --callgrind-out-file="$work/cg" "$program" --data "$1" "${options[@]}" \
        >/dev/null 2>&1 || true
    local frame total
    frame=$(sed -n 's/^summary: //p' "$work/cg.1" 2>/dev/null)
    total=$(cat "$work"/cg* | sed -n 's/^summary: //p' | awk '{ s += $1 } END { print s }')
    printf '%14s %14s' "${frame:-?}" "${total:-?}"
}
options=("$@")
printf '%-32s %14s %14s\n' "start of the window (callgrind)" "first frame" "settled"
printf '%-32s %s\n' "second day" "$(count "$work/data")"
printf '%-32s %s\n' "first start (greeting, tips)" "$(count "$work/first")"
