#!/usr/bin/env python3
"""Checks that vorlinde-agenda.exe reads file names as Windows gives them, in
UTF-16, whatever the ANSI code page: one row per name and Wine's locale, a
calendar dropped onto it makes the native program's agenda file under the
same name, and `show` of that file shows the native memo where the ANSI code
page has the name's characters, and says that the plug-in cannot open it
where it lacks them.
Not covered: read-only files and the refresh lock (tests/wine/files_windows_test.cpp).

usage: check_wide_names.py NATIVE-COMMAND... --windows WINDOWS-COMMAND..."""

import os
import subprocess
import sys
import tempfile

from check_dropped import calendar, read, write
from tool_support import report, split_commands, windows_name

# (Wine's locale, the calendar's name, the end of show's message where the
# locale's ANSI code page lacks a character of it, or None)
ROWS = [
    ("en_US.UTF-8", "家族.ics", ": its name has characters the system's code page lacks, "
                                "which the plug-in cannot open"),
    ("ja_JP.UTF-8", "Café.ics", " を読めません：名前にシステムのコードページにない文字があり、"
                                "プラグインが開けません"),
    ("ja_JP.UTF-8", "家族.ics", None),
    ("en_US.UTF-8", "plain.ics", None),
]


def run(command, args, cwd, locale):
    env = dict(os.environ, LANG="C", LC_ALL="", TZ="UTC", SOURCE_DATE_EPOCH="1798761600",
               VORLINDE_WINE_LC_ALL=locale)
    return subprocess.run([*command, *args], capture_output=True, timeout=120, cwd=cwd,
                          env=env, stdin=subprocess.DEVNULL)


def check_row(native, windows, locale, name, refused):
    with tempfile.TemporaryDirectory() as folder:
        made = {}
        for who, command, shown in (("native", native, str), ("windows", windows, windows_name)):
            os.mkdir(os.path.join(folder, who))
            cal = os.path.join(folder, who, name)
            write(cal, calendar("Kick-off", "Review"))
            dropped = run(command, [shown(cal)], os.path.join(folder, who), locale)
            if dropped.returncode == 77:  # wine-run.sh: this machine has no such wine
                return None
            vrn = os.path.splitext(cal)[0] + ".vrn"
            shown_days = run(command, ["show", "--date", "2027/01/05", "--days", "2", "--raw",
                                       shown(vrn)], folder, locale)
            made[who] = (dropped.returncode, read(vrn) if os.path.exists(vrn) else None,
                         sorted(os.listdir(os.path.join(folder, who))))
            made[who + " show"] = shown_days
        problems = []
        if made["native"] != made["windows"] or made["native"][1] is None:
            problems.append("%s in %s dropped: want %r, got %r" % (name, locale, made["native"],
                                                                   made["windows"]))
        native_show, windows_show = made["native show"], made["windows show"]
        told = windows_show.stderr.decode("cp932" if locale.startswith("ja") else "cp1252")
        got = (windows_show.returncode, windows_show.stdout, told.splitlines())
        if refused is None:
            want = (native_show.returncode, native_show.stdout, [])
            ok = got == want
        else:
            # The message's name is in the ANSI code page, which lacks some of
            # its characters: the line is compared around it.
            want = (native_show.returncode, b"", ["vorlinde-agenda: ..." + refused])
            ok = (got[:2] == want[:2] and len(got[2]) == 1
                  and got[2][0].startswith("vorlinde-agenda: ") and got[2][0].endswith(refused))
        if not ok or b"Kick-off" not in native_show.stdout:
            problems.append("show %s in %s: want %r, got %r" % (name, locale, want, got))
        return problems


def main():
    native, windows = split_commands(sys.argv[1:], __doc__.strip().splitlines()[-1])
    problems = []
    for row in ROWS:
        found = check_row(native, windows, *row)
        if found is None:
            return report(None, "")
        problems += found
    return report(problems, "vorlinde-agenda.exe: %d names as the native program's" % len(ROWS))


if __name__ == "__main__":
    sys.exit(main())
