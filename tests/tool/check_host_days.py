#!/usr/bin/env python3
"""Checks the command-line host's day choice, --raw and its About option on
the native build: --day shows the agenda of yesterday, today or tomorrow by
the local calendar, an unknown day is a usage error, --raw prints the memo's
bytes and nothing after them, and --about, which needs real windows, says it
is not available and ends with status 2.
Not covered: the menu's days under Wine (the wine suites' day-menu tests).

usage: check_host_days.py AGENDA-FILE VORLINDE-HOST-COMMAND...
(an emulator first where there is one)"""

import datetime
import subprocess
import sys

OFFSETS = {"yesterday": -1, "today": 0, "tomorrow": 1}


def heading(date):
    return date.strftime("%Y/%m/%d") + "の予定"


def run(host, *args):
    return subprocess.run([*host, *args], capture_output=True, timeout=60)


ME = "vorlinde-host: "


def check(host, agenda):
    problems = []
    for day, offset in OFFSETS.items():
        # The date may turn while the host runs: either side is right.
        before = datetime.date.today() + datetime.timedelta(days=offset)
        result = run(host, "--day", day, agenda)
        after = datetime.date.today() + datetime.timedelta(days=offset)
        first = result.stdout.decode("utf-8", "replace").split("\n")[0]
        if result.returncode != 0 or first not in (heading(before), heading(after)):
            problems.append("--day %s: expected status 0 and heading %r, got %d and %r"
                            % (day, heading(before), result.returncode, first))
    for args, told in ((["--day", "monday", agenda], "--day needs yesterday, today or tomorrow"),
                       (["--day"], "--day needs a value")):
        result = run(host, *args)
        if result.returncode != 2 or result.stderr.decode().splitlines() != [ME + told]:
            problems.append("%s: expected status 2 and %r, got %d and %r"
                            % (" ".join(args), ME + told, result.returncode, result.stderr))
    # --raw: the memo's bytes and nothing after them; the sample's last line
    # applies every day.
    result = run(host, "--raw", agenda)
    if result.returncode != 0 or not result.stdout.endswith("予定表を見直す".encode("cp932")):
        problems.append("--raw: expected status 0 and the memo's bytes ending in its last "
                        "entry, got %d and %r" % (result.returncode, result.stdout[-40:]))
    result = run(host, "--about")
    told = (ME + "--about is not available in this build, which has no windows to show the "
            "dialog in; use the Windows build")
    if result.returncode != 2 or result.stderr.decode().splitlines() != [told]:
        problems.append("--about: expected status 2 and %r, got %d and %r"
                        % (told, result.returncode, result.stderr))
    return problems


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    problems = check(sys.argv[2:], sys.argv[1])
    for problem in problems:
        print("FAIL: %s" % problem)
    if not problems:
        print("vorlinde-host: --day and --about as expected")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
