#!/usr/bin/env bash
# Runs the test programs that need no display from a sanitizer build tree (cmake --preset asan
# or tsan, then cmake --build --preset asan or tsan). Any sanitizer report stops its program
# with a failing status, so it fails this script.
# usage: scripts/run-sanitized-tests.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: run-sanitized-tests.sh BUILD_DIR}
programs=(calc/calc_tests calc/calc_golden_tests data/data_tests speech/speech_tests
          speech/audio_library_tests tools/tools_tests app/app_tests)

common=halt_on_error=1:print_stacktrace=1
export UBSAN_OPTIONS=$common
export TSAN_OPTIONS=$common:second_deadlock_stack=1

# LeakSanitizer cannot run under ptrace and in some containers; there it aborts every program,
# so it is probed once and switched off only where it cannot work.
export ASAN_OPTIONS=$common:detect_leaks=1
probe_output=$("$build/tests/calc/calc_tests" --gtest_list_tests 2>&1 >/dev/null) || {
    if grep -q "LeakSanitizer has encountered a fatal error" <<<"$probe_output"; then
        echo "run-sanitized-tests: LeakSanitizer does not work here; leaks are not checked"
        export ASAN_OPTIONS=$common:detect_leaks=0
    else
        echo "$probe_output" >&2
        exit 1
    fi
}

failed=()
for program in "${programs[@]}"; do
    echo "== $program"
    # Each program runs in its own folder, as CTest runs it.
    if ! (cd "$build/tests/$(dirname "$program")" && "./$(basename "$program")" --gtest_brief=1); then
        failed+=("$program")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "run-sanitized-tests: failed: ${failed[*]}"
    exit 1
fi
echo "run-sanitized-tests: ${#programs[@]} programs passed"
