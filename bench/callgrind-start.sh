#!/usr/bin/env bash
# Instructions of one start of the window, counted by callgrind from exec to the probe's end
# (first frame, then a settled second): a second day (the data file of a first day that was
# ended as by Exit) and a first start (no data file: greeting and tip window). Needs a display;
# run.sh runs it under Xvfb. Usage: bench/callgrind-start.sh [BUILD_DIR]
# QUORVEL=PATH counts another build.
set -euo pipefail
build=${1:-build}
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
QUORVEL_STARTUP_PROBE=$work/day1.probe "$program" --data "$work/data" 2>/dev/null &
pid=$!
for _ in $(seq 200); do
    grep -q rss_kb "$work/day1.probe" 2>/dev/null && break
    sleep 0.05
done
kill -TERM "$pid"
wait "$pid"
[ -f "$work/data/SysData.dat" ] || { echo "callgrind-start: no data file after a day" >&2; exit 1; }

export QUORVEL_STARTUP_PROBE=$work/probe QUORVEL_PROBE_QUIT=1
second=$(instructions /dev/null "$program" --data "$work/data")
first=$(instructions /dev/null "$program" --data "$work/first")
printf '%-40s %14s\n' "start of the window (callgrind)" "instructions"
printf '%-40s %14s\n' "second day" "$second" "first start (greeting, tips)" "$first"
