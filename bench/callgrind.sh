# Sourced by the compare scripts. Instructions are counted by callgrind when valgrind is
# installed: on a shared machine they hold still where CPU times wander, so they lead and the
# medians stand beside them. NO_CALLGRIND=1 leaves them out.
have_callgrind=0
if command -v valgrind >/dev/null 2>&1 && [ -z "${NO_CALLGRIND:-}" ]; then have_callgrind=1; fi
instructions() {  # stdin command...
    local input=$1
    shift
    # The command's own exit status is not the measure: an empty line ends with 1, and under
    # pipefail that would end the calling script.
    { valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" <"$input" 2>&1 >/dev/null ||
        true; } | sed -n 's/.*Collected : \([0-9]*\).*/\1/p' | tail -1
}
