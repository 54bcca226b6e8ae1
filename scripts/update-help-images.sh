#!/usr/bin/env bash
# Copies the screenshots the window and dialog tests save into the manual's pictures, so the
# manual shows the windows as they are. Run it by hand after a change to a window's look, from
# a build whose screenshot tests have run (under Xvfb, for the cut outlines), then commit
# res/help/images. The build itself never runs this.
#
# usage: scripts/update-help-images.sh [BUILD_DIR]     (default: build)
#   e.g. cmake --build build && (cd build && ctest -R screenshot) && scripts/update-help-images.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
images=$root/res/help/images

# Screenshot in the build's tests folder -> picture name in the manual.
pictures=(
    window/first_start.png:first_start.png
    window/style_standard.png:style_standard.png
    window/style_cartoon.png:style_cartoon.png
    window/style_mini.png:style_mini.png
    window/style_detail.png:style_detail.png
    dialogs/set_dlg.png:settings.png
    dialogs/resize_dlg.png:style_message.png
    dialogs/converter_units.png:converter.png
    dialogs/converter_quickcheck.png:converter_quickcheck.png
    dialogs/log_manager.png:log_manager.png
    dialogs/formula_manager.png:formula_manager.png
    dialogs/new_formula.png:new_formula.png
    dialogs/palette.png:functions.png
    dialogs/argument_sin.png:function_argument.png
    dialogs/parameters.png:parameters.png
    dialogs/exercises.png:exercises.png
)

mkdir -p "$images"
missing=0
for entry in "${pictures[@]}"; do
    from=$build/tests/${entry%%:*}
    to=$images/${entry##*:}
    if [[ ! -f $from ]]; then
        echo "missing $from (run the screenshot tests: ctest -R screenshot)" >&2
        missing=1
        continue
    fi
    cp "$from" "$to"
    echo "$to"
done
exit $missing
