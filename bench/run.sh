#!/usr/bin/env bash
# Runs every benchmark program of a build folder, then the side-by-side comparisons. The
# window's benchmarks (bench_gui_*) need a display: without one they run under Xvfb.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
for b in "$build"/bench/bench_*; do
    [ -x "$b" ] || continue
    case $(basename "$b") in
        bench_gui_*)
            if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
                "$b"
            elif command -v xvfb-run >/dev/null 2>&1; then
                QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" "$b"
            else
                echo "$(basename "$b"): skipped, no display and no xvfb-run (Debian package xvfb)"
            fi
            ;;
        *) "$b" ;;
    esac
done
# The instructions of a start, on a display as the window's benchmarks.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    bash "$here/callgrind-start.sh" "$build"
elif command -v xvfb-run >/dev/null 2>&1; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/callgrind-start.sh" "$build"
fi
for s in "$here"/compare-*.sh; do
    [ -f "$s" ] && bash "$s" "$build"
done
bash "$here/heard-right.sh" "$build"
