#!/usr/bin/env bash
# Checks that every source file under SRC_DIR includes only from its own folder or a lower
# floor, and that the folders shared by both programs hold no Qt header.
# Every violation is printed as FILE:LINE: reason; the exit status is 1 when there is one.
# usage: check_layering.sh SRC_DIR
set -euo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: check_layering.sh SRC_DIR" >&2
    exit 2
fi
src=${1%/}

# Folders on the same floor are peers and may not include each other.
declare -A floor=(
    [calc]=1
    [data]=2
    [speech]=2
    [tools]=3
    [ui]=4
    [dialogs]=5
    [window]=6
    [app]=7
)
declare -A qt_free=([calc]=1 [data]=1 [speech]=1 [tools]=1)

include_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"]'
# <QString>, <QtCore/qobject.h>, <qglobal.h>; no std or system header starts with q.
qt_re='^Q[A-Za-z0-9_]*(/|\.h$|$)'
qt_lower_re='^q[a-z0-9_]*\.h$'

violations=0
files=0
report() {
    echo "$1:$2: $3"
    violations=$((violations + 1))
}

while IFS= read -r -d '' file; do
    rel=${file#"$src"/}
    folder=${rel%%/*}
    files=$((files + 1))
    if [ -z "${floor[$folder]+set}" ]; then
        report "$file" 1 "folder '$folder' has no floor in the layering table"
        continue
    fi
    own=${floor[$folder]}
    line_no=0
    while IFS= read -r line || [ -n "$line" ]; do
        line_no=$((line_no + 1))
        [[ $line =~ $include_re ]] || continue
        delimiter=${BASH_REMATCH[1]}
        target=${BASH_REMATCH[2]}
        if [ -n "${qt_free[$folder]+set}" ] &&
            [[ $target =~ $qt_re || ($delimiter == '<' && $target =~ $qt_lower_re) ]]; then
            report "$file" "$line_no" "$folder must build without Qt, but includes $target"
            continue
        fi
        [ "$delimiter" = '"' ] || continue
        if [[ /$target/ == */../* ]]; then
            report "$file" "$line_no" "include \"$target\" climbs out of its folder; name it from src/"
            continue
        fi
        [[ $target == */* ]] || continue
        dep=${target%%/*}
        [ -n "${floor[$dep]+set}" ] || continue
        [ "$dep" = "$folder" ] && continue
        theirs=${floor[$dep]}
        if [ "$theirs" -gt "$own" ]; then
            report "$file" "$line_no" "$folder (floor $own) includes \"$target\" from the higher floor $theirs"
        elif [ "$theirs" -eq "$own" ]; then
            report "$file" "$line_no" "$folder includes \"$target\" from $dep, a peer on floor $own"
        fi
    done <"$file"
done < <(find "$src" -mindepth 1 -type f \
    \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' -o -name '*.inl' \) \
    -print0 | sort -z)

if [ "$violations" -gt 0 ]; then
    echo "layering: $violations violation(s) in $files files"
    exit 1
fi
echo "layering: $files files, no violation"
