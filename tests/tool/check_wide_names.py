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


# What the drop says of a path a chip cannot read, in each language: the
# end of its first line (after the path) and its second line.
CHIP_TOLD = {
    "en": (": it holds characters that Windows' code page for programs lacks.",
           "Move the file to a folder, or give it a name, of ASCII and Japanese characters "
           "alone."),
    "ja": (" のパスは付箋で読めません：Windows のプログラム用コードページにない文字が含まれています。",
           "ファイルを英数字と日本語だけのフォルダーに移すか、そのような名前にしてください。"),
}


def run(command, args, cwd, locale):
    env = dict(os.environ, LANG="C", LC_ALL="", TZ="UTC", SOURCE_DATE_EPOCH="1798761600",
               VORLINDE_WINE_LC_ALL=locale, VORLINDE_WINE_UTF8_NAMES="1")
    return subprocess.run([*command, *args], capture_output=True, timeout=120, cwd=cwd,
                          env=env, stdin=subprocess.DEVNULL)


def check_row(native, windows, locale, name, refused):
    """Where the ANSI code page lacks a character of the name (`refused`, the
    end of the message then), the drop still makes the native file but
    reports that the plug-in cannot open it (exit 2), and show does as for a
    file the plug-in cannot open."""
    with tempfile.TemporaryDirectory() as folder:
        made, told = {}, {}
        missing = os.path.join(folder, "missing.vrn")
        for who, command, shown in (("native", native, str), ("windows", windows, windows_name)):
            os.mkdir(os.path.join(folder, who))
            cal = os.path.join(folder, who, name)
            write(cal, calendar("Kick-off", "Review"))
            dropped = run(command, [shown(cal)], os.path.join(folder, who), locale)
            if dropped.returncode == 77:  # wine-run.sh: this machine has no such wine
                return None
            vrn = os.path.splitext(cal)[0] + ".vrn"
            shown_vrn = missing if who == "native" and refused else vrn
            days = run(command, ["show", "--date", "2027/01/05", "--days", "2", "--raw",
                                 shown(shown_vrn)], folder, locale)
            made[who] = (dropped.returncode, read(vrn) if os.path.exists(vrn) else None,
                         sorted(os.listdir(os.path.join(folder, who))), days.returncode,
                         days.stdout)
            encoding = "cp932" if locale.startswith("ja") else "cp1252"
            told[who] = (dropped.stderr + days.stderr).decode(encoding).splitlines()
        want = (made["native"][0] if not refused else 2,) + made["native"][1:]
        # The messages name the file in the ANSI code page, which lacks some
        # of its characters: each line is compared after the name.
        # Where it is refused, the drop also says instead of the path to
        # write into the chip why a chip cannot read it, and what to do.
        if not refused:
            told_right = told["windows"] == []
        else:
            chip = CHIP_TOLD[locale[:2]]
            lines = [line for line in told["windows"] if line]
            refusals = [line for line in lines if line.endswith(refused)]
            others = [line for line in lines if not line.endswith(refused)]
            told_right = (len(refusals) == 3 and len(others) == 2
                          and others[0].endswith(chip[0]) and others[1] == chip[1])
        if made["windows"] != want or made["native"][1] is None or not told_right:
            return ["%s in %s: want %r and %s, got %r and %r"
                    % (name, locale, want, "three lines ending %r and the chip's two" % refused if refused
                       else "no message", made["windows"], told["windows"])]
        return []


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
