#!/usr/bin/env bash
# Runs the screenshot program on a virtual X server, where the window outline really cuts
# through to the desktop. Without Xvfb it still draws the dialog offscreen and says so.
# usage: screenshot_check.sh <ui_screenshot program> <output png>
set -euo pipefail
program=$1
output=$2

if command -v xvfb-run >/dev/null 2>&1; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 2200x1000x24" "$program" "$output"
else
    echo "ui_screenshot: xvfb-run not found (Debian package xvfb); drawing offscreen," \
         "the outline is not checked"
    QT_QPA_PLATFORM=offscreen "$program" "$output"
fi
echo "ui_screenshot: saved $output"
