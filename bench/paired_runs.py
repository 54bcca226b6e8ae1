#!/usr/bin/env python3
"""Runs two commands in alternation and prints the median CPU time (user + system) of each:
"A_SECONDS B_SECONDS". Alternating pairs keeps a busy neighbour on the shared machine from
favouring one side. (Peak memory is measured apart: a child forked from Python counts Python's.)

Usage: paired_runs.py RUNS STDIN_FILE 'COMMAND A' 'COMMAND B' [STDIN_B]
STDIN_FILE feeds both commands unless STDIN_B is given for B (either may be /dev/null).
"""
import os
import shlex
import statistics
import subprocess
import sys


def run(argv, stdin_path):
    with open(stdin_path, "rb") as stdin:
        proc = subprocess.Popen(argv, stdin=stdin, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode not in (0, 1):
        sys.exit(f"paired_runs: {argv[0]} exited with {proc.returncode}")
    return usage.ru_utime + usage.ru_stime


def main():
    runs, stdin_path, a, b = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
    stdins = [stdin_path, sys.argv[5] if len(sys.argv) > 5 else stdin_path]
    cmds = [shlex.split(a), shlex.split(b)]
    times = [[], []]
    for _ in range(runs):
        for side, argv in enumerate(cmds):
            times[side].append(run(argv, stdins[side]))
    print(f"{statistics.median(times[0]):.6f} {statistics.median(times[1]):.6f}")


main()
