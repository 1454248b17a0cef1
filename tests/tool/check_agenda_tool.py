#!/usr/bin/env python3
"""vorlinde-agenda's output as users read it, against the expected outputs
checked in beside this script (tests/tool/expected/), and a table of
command-line forms with the status and the whole lines each must give. Given a
command that runs the Windows program, also holds vorlinde-agenda.exe to the
same memo bytes, statuses and warned lines.
Not covered: the Japanese of the Windows console (the Windows program is held
to line numbers and bytes only), and today's date as the default.

usage: check_agenda_tool.py [--update] COMMAND... [--windows WINDOWS-COMMAND...]
(COMMAND runs the native program, an emulator first where there is one;
--update rewrites the expected outputs from what the program gives)"""

import datetime
import os
import re
import subprocess
import sys
import tempfile

from tool_support import report, split_commands, windows_name

HERE = os.path.dirname(os.path.abspath(__file__))
EXPECTED = os.path.join(HERE, "expected")
ENGLISH, JAPANESE = "C", "ja_JP.UTF-8"

ENCODINGS = ["utf16le.vrn", "utf16be.vrn", "utf8-bom.vrn", "missing.vrn"]
# Expected output file, language, arguments, status. Run in this folder, so
# that the file names in the output are as written here.
GOLDEN = [
    ("check.en.txt", ENGLISH, ["check", "traps.vrn"], 1),
    ("check.ja.txt", JAPANESE, ["check", "traps.vrn"], 1),
    ("check-verbose.en.txt", ENGLISH, ["check", "--verbose", "traps.vrn"], 1),
    ("check-verbose.ja.txt", JAPANESE, ["check", "--verbose", "traps.vrn"], 1),
    ("show-days-3.txt", ENGLISH, ["show", "--date", "2026/12/24", "--days", "3", "days.vrn"], 0),
    ("show-days-3-raw.bin", ENGLISH,
     ["show", "--raw", "--date", "2026/12/24", "--days", "3", "days.vrn"], 0),
    ("check-utf8.en.txt", ENGLISH, ["check", "utf8.vrn"], 1),
    # Files as editors save them, each named with the command that converts
    # it, and a file that is not there.
    ("check-encodings.en.txt", ENGLISH, ["check"] + ENCODINGS, 2),
    ("check-encodings.ja.txt", JAPANESE, ["check"] + ENCODINGS, 2),
    # A calendar, with the command that makes an agenda file of it.
    ("check-calendar.en.txt", ENGLISH, ["check", "calendar/example.ics"], 1),
    ("check-calendar.ja.txt", JAPANESE, ["check", "calendar/example.ics"], 1),
    # The usage, put together from the table of subcommands.
    ("usage.en.txt", ENGLISH, ["--help"], 0),
    ("usage.ja.txt", JAPANESE, ["--help"], 0),
    # The almanac of a common year and of 2033, whose leap month only the
    # widely adopted reading decides (Shift-JIS agenda lines).
    ("almanac-2027.vrn", ENGLISH, ["almanac", "--from", "2027", "--until", "2027"], 0),
    ("almanac-2033.vrn", ENGLISH, ["almanac", "--from", "2033", "--until", "2033"], 0),
]

# Arguments, status, the memo headings standard output must show, and the
# lines standard error must hold, whole (none by default). Calendar days are
# counted in a zone whose days are not all 24 hours long.
SHOW = ["show", "--date"]
ME = "vorlinde-agenda: "


def days(year, month, day, count):
    start = datetime.date(year, month, day)
    return [(start + datetime.timedelta(days=n)).strftime("%Y/%m/%d") for n in range(count)]


FORMS = [
    (SHOW + ["2026/12/24", "days.vrn"], 0, ["2026/12/24"]),
    (["show", "--date=2026-12-24", "days.vrn"], 0, ["2026/12/24"]),
    (SHOW + ["2026/03/07", "--days", "3", "days.vrn"], 0, days(2026, 3, 7, 3)),
    (SHOW + ["2026/10/31", "--days=3", "days.vrn"], 0, days(2026, 10, 31, 3)),
    (SHOW + ["2026/12/30", "--days", "3", "days.vrn"], 0, days(2026, 12, 30, 3)),
    (SHOW + ["2028/02/28", "--days", "2", "days.vrn"], 0, days(2028, 2, 28, 2)),
    (SHOW + ["2025/01/01", "--days", "366", "days.vrn"], 0, days(2025, 1, 1, 366)),
    (SHOW + ["2026/12/24", "days.vrn", "missing.vrn"], 0, ["2026/12/24"],
     [ME + "cannot read missing.vrn: no such file"]),
    (["check", "days.vrn"], 0, []),
    (["check", os.path.join("..", "..", "samples", "sample.vrn")], 0, []),
]

# Usage errors of every subcommand: arguments and the whole lines standard
# error must hold, with status 2, in English (USAGE: the usage text); then
# each subcommand naming a file that is not there, in Japanese.
MISSING = "missing.vrn"
EXPAND = ["expand", "--rule", "FREQ=DAILY", "--from", "2027/01/01"]
USAGE = None
NOT_A_DATE = ": not a date of the calendar (write it as YYYY/MM/DD)"
EXPAND_NEEDS = (ME + "expand needs --rule, --from and one text, and takes --until or --count, "
                "not both")
USAGE_ERRORS = [
    ([], USAGE),
    (["list", "days.vrn"], [ME + "unknown command list"]),
    (["--frobnicate"], [ME + "unknown command --frobnicate"]),
    (SHOW + ["2026/12-24", "days.vrn"], [ME + "--date 2026/12-24" + NOT_A_DATE]),
    (["show", "days.vrn", "--date"], [ME + "--date needs a value"]),
    (SHOW + ["2026/12/24", "--days", "+2", "days.vrn"],
     [ME + "--days +2: give a whole number from 1 to 366"]),
    (SHOW + ["2026/12/24", "--days", "367", "days.vrn"],
     [ME + "--days 367: give a whole number from 1 to 366"]),
    (["show", "--raw=yes", "days.vrn"], [ME + "unknown option --raw=yes"]),
    (SHOW + ["2026/12/24"], [ME + "no file given"]),
    (["check", "--date", "2026/12/24", "days.vrn"], [ME + "unknown option --date"]),
    (["check"], [ME + "no file given"]),
    (["check", MISSING], [ME + "cannot read missing.vrn: no such file"]),
    (["check", "--", "--raw"], [ME + "cannot read --raw: no such file"]),
    (["convert", "--output", "out.vrn", "a.vrn", "b.vrn"], [ME + "--output takes one file"]),
    (["convert", MISSING], [ME + "cannot read missing.vrn: no such file"]),
    (["import", "--from", "2027/02/30", "calendar/example.ics"],
     [ME + "--from 2027/02/30" + NOT_A_DATE]),
    (["import", "--from", "2027/03/01", "--until", "2027/02/28", "calendar/example.ics"],
     [ME + "--until 2027/02/28 comes before the first day 2027/03/01"]),
    (["import", "--tz", "Mars/Olympus_Mons", "calendar/example.ics"],
     [ME + "--tz Mars/Olympus_Mons: no such time zone (write it as Asia/Tokyo)"]),
    (["import", MISSING], [ME + "cannot read missing.vrn: no such file"]),
    (["import", "--", "--tz"], [ME + "cannot read --tz: no such file"]),
    (["export"], [ME + "no file given"]),
    (["export", MISSING], [ME + "cannot read missing.vrn: no such file"]),
    (EXPAND + ["--count", "+2", "x"], [ME + "--count +2: give a whole number from 1 to 100000"]),
    (EXPAND + ["--count", "0", "x"], [ME + "--count 0: give a whole number from 1 to 100000"]),
    (EXPAND + ["--count", "2", "--until", "2027/02/01", "x"], [EXPAND_NEEDS]),
    (EXPAND, [EXPAND_NEEDS]),
    (EXPAND + ["--", "-h", "x"], [EXPAND_NEEDS]),
    (["expand", "--rule", "FREQ=DAILY", "--from", "2027/1/32", "x"],
     [ME + "--from 2027/1/32" + NOT_A_DATE]),
    (EXPAND + ["--output", "missing/out.vrn", "x"],
     [ME + "cannot write missing/out.vrn: no such file"]),
    (["holidays", "--from", "1954"], [ME + "--from 1954: give a whole number from 1955 to 2099"]),
    (["holidays", "--from", "2021", "--until", "2100"],
     [ME + "--until 2100: give a whole number from 1955 to 2099"]),
    (["holidays", "--from", "2021", "--until", "2019"],
     [ME + "--until 2019 comes before the first year 2021"]),
    (["almanac", "--from", "1899"], [ME + "--from 1899: give a whole number from 1900 to 2099"]),
    (["almanac", "--from", "2099", "--until", "2100"],
     [ME + "--until 2100: give a whole number from 1900 to 2099"]),
    (["almanac", "--from", "2031", "--until", "2030"],
     [ME + "--until 2030 comes before the first year 2031"]),
    (["almanac", "--only", "moon,rokuyo"],
     [ME + "--only rokuyo: no such kind (the kinds are kyureki, sekki, zassetsu, moon, senjitsu)"]),
    (["refresh", MISSING], [ME + "cannot read missing.vrn: no such file"]),
    (["refresh", "days.vrn"], [ME + "days.vrn was not written by vorlinde-agenda import, so it "
                               "cannot be refreshed; it is left as it is"]),
]
# Each subcommand that reads or writes a file, naming a missing one in
# Japanese: its status and the line it tells.
NOT_READ_JA = ME + "missing.vrn を読めません：ファイルがありません"
MISSING_JA = [
    (["show", "--date", "2026/12/24", MISSING], 0, NOT_READ_JA),
    (["check", MISSING], 2, NOT_READ_JA),
    (["convert", MISSING], 2, NOT_READ_JA),
    (["import", MISSING], 2, NOT_READ_JA),
    (["export", MISSING], 2, NOT_READ_JA),
    (EXPAND + ["--output", "missing/out.vrn", "x"], 2,
     ME + "missing/out.vrn を書けません：ファイルがありません"),
]


def run(command, args, language=ENGLISH, cwd=HERE):
    env = dict(os.environ, LC_ALL=language, TZ="America/New_York")
    return subprocess.run(command + args, capture_output=True, timeout=120, cwd=cwd, env=env)


def first_difference(want, got):
    """The first line in which two outputs differ, for the failure message."""
    want_lines, got_lines = want.split(b"\n"), got.split(b"\n")
    for number, (w, g) in enumerate(zip(want_lines, got_lines), 1):
        if w != g:
            return "line %d differs:\n  want %s\n   got %s" % (
                number, w.decode("utf-8", "backslashreplace"), g.decode("utf-8", "backslashreplace"))
    shorter = "got" if len(got_lines) < len(want_lines) else "want"
    return "%s ends at line %d" % (shorter, min(len(want_lines), len(got_lines)))


def check_golden(command, update):
    problems = []
    for name, language, args, status in GOLDEN:
        result = run(command, args, language)
        path = os.path.join(EXPECTED, name)
        if update:
            with open(path, "wb") as f:
                f.write(result.stdout)
        with open(path, "rb") as f:
            want = f.read()
        what = "%s (LC_ALL=%s %s)" % (name, language, " ".join(args))
        if result.stdout != want:
            problems.append("%s: %s" % (what, first_difference(want, result.stdout)))
        if result.returncode != status:
            problems.append("%s: want status %d, got %d\n%s"
                            % (what, status, result.returncode, result.stderr.decode()))
    return problems


def headings(output):
    return re.findall(r"^(\d{4}/\d\d/\d\d)の予定$", output.decode("utf-8", "replace"), re.M)


def check_forms(command):
    problems = []
    for args, status, want, *told in FORMS:
        result = run(command, args)
        out, error = result.stdout, result.stderr.decode("utf-8", "replace").splitlines()
        got = headings(out)
        want_error = told[0] if told else []
        ok = got == want and (want or out == b"") and error == want_error
        if result.returncode != status or not ok:
            problems.append("%s: want status %d, headings %r and %r, got %d, %s, %r"
                            % (" ".join(args), status, want, want_error, result.returncode, got,
                               error))
    return problems


def check_holidays(command):
    """holidays of each year of tests/tool/holidays/, written from the
    government's lists, and a run of several years that check finds clean."""
    problems = []
    folder = os.path.join(HERE, "holidays")
    for name in sorted(os.listdir(folder)):
        year = name[:4]
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            want = [l for l in f.read().splitlines() if l and not l.startswith(";")]
        result = run(command, ["holidays", "--from", year, "--until", year])
        got = [l for l in result.stdout.decode("cp932").split("\r\n")
               if l and not l.startswith(";")]
        if result.returncode != 0 or got != want:
            first = next((i for i, (w, g) in enumerate(zip(want, got)) if w != g),
                         min(len(want), len(got)))
            problems.append("holidays %s: status %d; holiday %d: want %r, got %r"
                            % (year, result.returncode, first + 1, want[first:first + 1],
                               got[first:first + 1]))
    with tempfile.TemporaryDirectory() as work:
        agenda = os.path.join(work, "holidays.vrn")
        run(command, ["holidays", "--from", "1955", "--until", "2099", "--output", agenda])
        checked = run(command, ["check", agenda])
        if checked.returncode != 0 or checked.stdout:
            problems.append("check of the holidays 1955-2099: %r" % checked.stdout[:300])
    return problems


def check_almanac(command):
    """The whole range of the almanac, its first and last years, which check
    finds clean, as it must for an agenda file a chip reads."""
    problems = []
    with tempfile.TemporaryDirectory() as work:
        agenda = os.path.join(work, "almanac.vrn")
        made = run(command, ["almanac", "--from", "1900", "--until", "2099", "--output", agenda])
        checked = run(command, ["check", agenda])
        if made.returncode != 0 or checked.returncode != 0 or checked.stdout:
            problems.append("almanac 1900-2099: status %d, check %d: %r"
                            % (made.returncode, checked.returncode, checked.stdout[:300]))
        with open(agenda, "rb") as f:
            lines = f.read().split(b"\r\n")
        if lines[1][:10] != b"1900/01/01" or lines[-2][:10] != b"2099/12/31":
            problems.append("almanac 1900-2099 runs from %r to %r" % (lines[1], lines[-2]))
    return problems


def check_usage_errors(command):
    problems = []
    with open(os.path.join(EXPECTED, "usage.en.txt"), encoding="utf-8") as f:
        usage = f.read().splitlines()
    for args, want in USAGE_ERRORS:
        result = run(command, args)
        error = result.stderr.decode("utf-8", "replace").splitlines()
        want = usage if want is USAGE else want
        if result.returncode != 2 or error != want:
            problems.append("%s: want status 2 and %r, got %d, %r"
                            % (" ".join(args), want, result.returncode, error))
    result = run(command, ["expand", "--help"])
    if result.returncode != 0 or result.stdout.decode("utf-8", "replace").splitlines() != usage:
        problems.append("expand --help: want status 0 and the usage, got %d" % result.returncode)
    for args, status, want in MISSING_JA:
        result = run(command, args, JAPANESE)
        error = result.stderr.decode("utf-8", "replace").splitlines()
        if result.returncode != status or error != [want]:
            problems.append("LC_ALL=%s %s: want status %d and %r, got %d, %r"
                            % (JAPANESE, " ".join(args), status, want, result.returncode, error))
    return problems


def warned_lines(output):
    return [int(n) for n in re.findall(rb"^.*?:(\d+):(?:\d+:)? warning: ", output, re.M)]


def check_windows(command, windows):
    """The Windows program's statuses, warned lines and memo bytes, against
    the native program's (its messages are in the console's code page)."""
    problems = []

    # The almanac's whole range: the 32-bit program's floating point must
    # decide every day as the native one does.
    for args in (["check", "traps.vrn"], ["check", "days.vrn"],
                 ["show", "--raw", "--date", "2026/12/24", "--days", "3", "days.vrn"],
                 ["almanac", "--from", "1900", "--until", "2099"]):
        native = run(command, args)
        ours = run(windows, [windows_name(os.path.join(HERE, a)) if a.endswith(".vrn") else a
                             for a in args])
        same = (native.returncode == ours.returncode
                and (native.stdout == ours.stdout if "--raw" in args or "almanac" in args
                     else warned_lines(native.stdout) == warned_lines(ours.stdout)))
        if not same:
            problems.append("windows %s: want status %d, got %d: %s"
                            % (" ".join(args), native.returncode, ours.returncode,
                               first_difference(native.stdout, ours.stdout)))
    return problems


def main():
    args = sys.argv[1:]
    update = args[:1] == ["--update"]
    command, windows = split_commands(args[1:] if update else args, __doc__)
    problems = check_golden(command, update) + check_forms(command) + check_usage_errors(command)
    problems += check_holidays(command) + check_almanac(command)
    if windows:
        problems += check_windows(command, windows)
    return report(problems, "vorlinde-agenda%s: %d expected outputs, %d command-line forms and %d "
                  "usage errors as expected" % (" and .exe" if windows else "", len(GOLDEN),
                                                len(FORMS), len(USAGE_ERRORS) + len(MISSING_JA)))


if __name__ == "__main__":
    sys.exit(main())
