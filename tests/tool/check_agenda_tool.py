#!/usr/bin/env python3
"""Checks vorlinde-agenda as users run it, natively and, when a command that
runs the Windows program is given, as vorlinde-agenda.exe under wine:
- `check TRAPS` ends with status 1 and warns on exactly the lines that follow
  a "; expect:" comment of the trap file, once each, and on no other line;
- `check SAMPLE` ends with status 0 and prints nothing;
- `show --raw` gives the Windows program the native program's memo bytes.

usage: check_agenda_tool.py VORLINDE-AGENDA TRAPS SAMPLE [WINDOWS-COMMAND...]
(the Windows command runs vorlinde-agenda.exe with the arguments appended;
file names are handed to it on wine's drive Z:)"""

import os
import re
import subprocess
import sys

DATE = "2026/12/24"


def run(command, *args):
    return subprocess.run([*command, *args], capture_output=True, timeout=120)


def expected_lines(traps):
    with open(traps, "rb") as f:
        lines = f.read().split(b"\n")
    return sorted(i + 2 for i, line in enumerate(lines) if line.startswith(b"; expect:"))


def warned_lines(output):
    lines = []
    for line in output.split(b"\n"):
        found = re.match(rb".*?:(\d+):(?:\d+:)? warning: ", line)
        if found:
            lines.append(int(found.group(1)))
    return sorted(lines)


def check(name, command, path, traps, sample):
    problems = []
    want = expected_lines(traps)
    result = run(command, "check", path(traps))
    got = warned_lines(result.stdout)
    if result.returncode != 1 or got != want:
        problems.append("%s check: want status 1 and warnings on lines %s, got %d and %s\n%s%s"
                        % (name, want, result.returncode, got,
                           result.stdout.decode("utf-8", "replace"),
                           result.stderr.decode("utf-8", "replace")))
    result = run(command, "check", path(sample))
    if result.returncode != 0 or result.stdout:
        problems.append("%s check of the sample: want status 0 and no output, got %d and %r"
                        % (name, result.returncode, result.stdout))
    return problems


def main():
    if len(sys.argv) < 4:
        print("usage: check_agenda_tool.py VORLINDE-AGENDA TRAPS SAMPLE [WINDOWS-COMMAND...]",
              file=sys.stderr)
        return 2
    native, traps, sample = sys.argv[1:4]
    windows = sys.argv[4:]

    problems = check("native", [native], lambda p: p, traps, sample)
    memo = run([native], "show", "--raw", "--date", DATE, traps, sample)
    if memo.returncode != 0 or not memo.stdout.startswith(DATE.encode()):
        problems.append("native show: status %d, output %r" % (memo.returncode, memo.stdout))
    if windows:
        def on_z(p):
            return "Z:" + os.path.abspath(p).replace("/", "\\")
        problems += check("windows", windows, on_z, traps, sample)
        result = run(windows, "show", "--raw", "--date", DATE, on_z(traps), on_z(sample))
        if result.returncode != 0 or result.stdout != memo.stdout:
            problems.append("windows show --raw: want status 0 and %r, got %d and %r"
                            % (memo.stdout, result.returncode, result.stdout))

    for problem in problems:
        print("FAIL: %s" % problem)
    if not problems:
        print("vorlinde-agenda%s: check and show as expected" % (" and .exe" if windows else ""))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
