#!/usr/bin/env bash
# Checks that every tracked C++ file is as clang-format (.clang-format) would write it.
#   scripts/check-format.sh            check every file, list the ones that differ
#   scripts/check-format.sh --fix      rewrite them in place
#   scripts/check-format.sh FILE...    check only these (the pre-commit hook passes staged files)
set -euo pipefail
cd "$(dirname "$0")/.."

fix=0
if [ "${1:-}" = "--fix" ]; then
    fix=1
    shift
fi

if ! command -v clang-format >/dev/null; then
    echo "check-format: clang-format is missing; run scripts/install-deps.sh" >&2
    exit 2
fi

files=()
if [ $# -gt 0 ]; then
    for f in "$@"; do
        case "$f" in *.cpp | *.h) [ -f "$f" ] && files+=("$f") ;; esac
    done
else
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
[ ${#files[@]} -eq 0 ] && exit 0

if [ $fix -eq 1 ]; then
    clang-format -i "${files[@]}"
    exit 0
fi

differing=()
for f in "${files[@]}"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || differing+=("$f")
done
if [ ${#differing[@]} -gt 0 ]; then
    echo "check-format: $(clang-format --version | head -1) would change these files:" >&2
    printf '  %s\n' "${differing[@]}" >&2
    echo "check-format: run scripts/check-format.sh --fix, then look at the change" >&2
    exit 1
fi
