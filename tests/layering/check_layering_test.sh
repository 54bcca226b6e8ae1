#!/usr/bin/env bash
# Runs the layering checker on small trees, each a legal base plus one file, and compares the
# exit status and the reported line with what each row expects. Reports every mismatch.
# usage: check_layering_test.sh CHECKER WORK_DIR
set -uo pipefail

checker=$1
work=$2

# A legal tree: every floor reaching down, Qt only where widgets live.
write_base() {
    local root=$1
    mkdir -p "$root"/{calc,data,speech,tools,ui,dialogs,window,app}
    printf '#pragma once\n#include <queue>\n#include <string>\n' >"$root/calc/number.h"
    printf '#include "calc/number.h"\n#include "number.h"\n' >"$root/calc/number.cpp"
    printf '#include "calc/number.h"\n' >"$root/data/archive.h"
    printf '#include "calc/number.h"\n' >"$root/speech/wording.h"
    printf '#include "data/archive.h"\n#include "speech/wording.h"\n' >"$root/tools/batch.h"
    printf '#include <QWidget>\n#include "tools/batch.h"\n' >"$root/ui/dialog.h"
    printf '#include "ui/dialog.h"\n' >"$root/dialogs/conv_dlg.h"
    printf '#include "dialogs/conv_dlg.h"\n' >"$root/window/main_window.h"
    printf '#include "window/main_window.h"\n#include "calc/number.h"\n' >"$root/app/main.cpp"
}

# name | file added to the base | its content (printf format) | exit status | expected report
cases=(
    "base tree|calc/empty.h||0|layering: 10 files, no violation"
    "calc reaches data|calc/x.h|#include \"data/archive.h\"\n|1|calc/x.h:1: calc (floor 1) includes \"data/archive.h\" from the higher floor 2"
    "data reaches peer speech|data/x.cpp|#include <string>\n#include \"speech/wording.h\"\n|1|data/x.cpp:2: data includes \"speech/wording.h\" from speech, a peer on floor 2"
    "speech reaches peer data|speech/x.h|#include \"data/archive.h\"\n|1|speech/x.h:1: speech includes \"data/archive.h\" from data, a peer on floor 2"
    "tools reaches ui|tools/x.cpp|#include \"ui/dialog.h\"\n|1|tools/x.cpp:1: tools (floor 3) includes \"ui/dialog.h\" from the higher floor 4"
    "ui reaches dialogs|ui/x.h|#include \"dialogs/conv_dlg.h\"\n|1|ui/x.h:1: ui (floor 4) includes \"dialogs/conv_dlg.h\" from the higher floor 5"
    "dialogs reaches window|dialogs/x.h|#include \"window/main_window.h\"\n|1|dialogs/x.h:1: dialogs (floor 5) includes \"window/main_window.h\" from the higher floor 6"
    "window reaches app|window/x.cpp|#include \"app/main.h\"\n|1|window/x.cpp:1: window (floor 6) includes \"app/main.h\" from the higher floor 7"
    "nested folder counts as its top folder|ui/kit/x.h|#include \"window/main_window.h\"\n|1|ui/kit/x.h:1: ui (floor 4) includes \"window/main_window.h\" from the higher floor 6"
    "spaced directive|calc/x.cpp|  #  include   \"tools/batch.h\"\n|1|calc/x.cpp:1: calc (floor 1) includes \"tools/batch.h\" from the higher floor 3"
    "commented out include|calc/x.cpp|// #include \"ui/dialog.h\"\n|0|layering: 10 files, no violation"
    "app reaches every floor|app/x.cpp|#include \"calc/number.h\"\n#include \"data/archive.h\"\n#include \"speech/wording.h\"\n#include \"tools/batch.h\"\n#include \"ui/dialog.h\"\n#include \"dialogs/conv_dlg.h\"\n#include \"window/main_window.h\"\n#include <QApplication>\n|0|layering: 10 files, no violation"
    "Qt class in calc|calc/x.h|#include <QString>\n|1|calc/x.h:1: calc must build without Qt, but includes QString"
    "Qt module path in tools|tools/x.cpp|#include <vector>\n#include <QtCore/qobject.h>\n|1|tools/x.cpp:2: tools must build without Qt, but includes QtCore/qobject.h"
    "lower-case Qt header in speech|speech/x.cpp|#include <qglobal.h>\n|1|speech/x.cpp:1: speech must build without Qt, but includes qglobal.h"
    "quoted Qt header in data|data/x.h|#include \"QFile\"\n|1|data/x.h:1: data must build without Qt, but includes QFile"
    "own header starting with q|calc/quotient.cpp|#include \"calc/quotient.h\"\n#include \"quotient.h\"\n|0|layering: 10 files, no violation"
    "relative climb|calc/x.cpp|#include \"../ui/dialog.h\"\n|1|calc/x.cpp:1: include \"../ui/dialog.h\" climbs out of its folder; name it from src/"
    "unknown folder|gadgets/x.cpp|#include \"calc/number.h\"\n|1|gadgets/x.cpp:1: folder 'gadgets' has no floor in the layering table"
    "source beside the folders|x.cpp|#include \"calc/number.h\"\n|1|x.cpp:1: folder 'x.cpp' has no floor in the layering table"
    "every violation reported|calc/x.h|#include \"ui/dialog.h\"\n#include <QString>\n#include \"tools/batch.h\"\n|1|layering: 3 violation(s) in 10 files"
)

failures=0
fail() {
    echo "FAIL [$1]: $2"
    failures=$((failures + 1))
}

# The checker exists to fail; a run that cannot be told apart from a broken checker proves
# nothing, so a missing checker fails here too.
[ -r "$checker" ] || { echo "FAIL: no checker at $checker"; exit 1; }

for row in "${cases[@]}"; do
    IFS='|' read -r name path content want_status want_line <<<"$row"
    root=$work/$(tr -c 'a-z0-9\n' '_' <<<"$name")/src
    rm -rf "${root%/src}"
    write_base "$root"
    mkdir -p "$(dirname "$root/$path")"
    # shellcheck disable=SC2059 # content is a printf format by design
    printf "$content" >"$root/$path"

    output=$(bash "$checker" "$root" 2>&1)
    status=$?
    [ "$status" -eq "$want_status" ] ||
        fail "$name" "exit status $status, expected $want_status; output: $output"
    case $want_line in
    layering:*) expected=$want_line ;;
    *) expected=$root/$want_line ;;
    esac
    grep -qxF -- "$expected" <<<"$output" ||
        fail "$name" "no line '$expected' in: $output"
done

if [ "$failures" -gt 0 ]; then
    echo "$failures mismatch(es) in ${#cases[@]} cases"
    exit 1
fi
echo "all ${#cases[@]} cases passed"
