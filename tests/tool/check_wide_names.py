#!/usr/bin/env python3
"""Checks that vorlinde-agenda.exe reads file names as Windows gives them, in
UTF-16, whatever the ANSI code page: one row per name and locale, a calendar
dropped onto it makes the native program's agenda file under the same name
(家族.ics where the ANSI code page is 1252, Café.ics where it is 932), and
`show` of an agenda file shows the native program's memo where the ANSI code
page has the name's characters, and says that the plug-in cannot open it
where it lacks them. A read-only agenda file is refused by a refresh and
left as it is, still read-only.
Not covered: names Wine's own Unix side cannot pass (the test runs Wine with
UTF-8 Unix names), the refresh lock (no second run is started).

usage: check_wide_names.py NATIVE-COMMAND... --windows WINDOWS-COMMAND..."""

import os
import stat
import subprocess
import sys
import tempfile

from tool_support import report, split_commands, windows_name

NEW_YEAR = "1798761600"  # 2027-01-01 00:00 UTC: the day of the drops
PROGRAM = "vorlinde-agenda"


def calendar(*summaries):
    """An iCalendar of all-day events on 2027/01/05, 06...."""
    events = "".join("BEGIN:VEVENT\r\nUID:%d@example.com\r\nDTSTART;VALUE=DATE:202701%02d\r\n"
                     "SUMMARY:%s\r\nEND:VEVENT\r\n" % (n, n + 5, s)
                     for n, s in enumerate(summaries))
    return ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Vorlinde tests//names//EN\r\n%s"
            "END:VCALENDAR\r\n" % events).encode()


def run(command, args, cwd, locale):
    env = dict(os.environ, LANG="C", LC_ALL="", TZ="UTC", SOURCE_DATE_EPOCH=NEW_YEAR,
               VORLINDE_WINE_LC_ALL=locale)
    return subprocess.run([*command, *args], capture_output=True, timeout=120, cwd=cwd,
                          env=env, stdin=subprocess.DEVNULL)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


# (what, Wine's locale, the calendar's name, whether the ANSI code page of that
# locale has every character of the name)
DROPS = [
    ("Japanese name, ANSI code page 1252", "en_US.UTF-8", "家族.ics", False),
    ("accented name, ANSI code page 932", "ja_JP.UTF-8", "Café.ics", False),
    ("Japanese name, ANSI code page 932", "ja_JP.UTF-8", "家族.ics", True),
    ("plain name, ANSI code page 1252", "en_US.UTF-8", "plain.ics", True),
]

CANNOT_OPEN = ("its name has characters the system's code page lacks, which the plug-in "
               "cannot open")
CANNOT_OPEN_JA = " を読めません：名前にシステムのコードページにない文字があり、プラグインが開けません"
READ_ONLY = "the file is read-only"


def check_drop(native, windows, what, locale, name, in_code_page):
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        made = {}
        for who, command, shown in (("native", native, lambda p: p),
                                    ("windows", windows, windows_name)):
            os.mkdir(os.path.join(folder, who))
            cal = os.path.join(folder, who, name)
            write(cal, calendar("Kick-off", "Review"))
            result = run(command, [shown(cal)], os.path.join(folder, who), locale)
            if result.returncode == 77:  # wine-run.sh: this machine has no such wine
                return None
            vrn = os.path.splitext(cal)[0] + ".vrn"
            shown_days = run(command, ["show", "--date", "2027/01/05", "--days", "2", "--raw",
                                       shown(vrn)], os.path.join(folder, who), locale)
            made[who] = (result.returncode, read(vrn) if os.path.exists(vrn) else None,
                         sorted(os.listdir(os.path.join(folder, who))))
            made[who + " show"] = shown_days
        if made["native"] != made["windows"] or made["native"][1] is None:
            problems.append("%s: dropped %s, want %r, got %r" % (what, name, made["native"],
                                                                 made["windows"]))
        native_show, windows_show = made["native show"], made["windows show"]
        vrn = windows_name(os.path.join(folder, "windows", os.path.splitext(name)[0] + ".vrn"))
        japanese = locale.startswith("ja")
        told = windows_show.stderr.decode("cp932" if japanese else "cp1252", "replace")
        got = (windows_show.returncode, windows_show.stdout, told.splitlines())
        if in_code_page:
            want = (native_show.returncode, native_show.stdout, [])
            ok = got == want
        else:
            # The message names the file in the ANSI code page, which lacks
            # some of its characters: what comes after the name is compared.
            ending = CANNOT_OPEN_JA if japanese else ": " + CANNOT_OPEN
            want = (native_show.returncode, b"", ["%s: ... %s" % (PROGRAM, ending)])
            ok = (got[:2] == want[:2] and len(got[2]) == 1
                  and got[2][0].startswith(PROGRAM + ": ") and got[2][0].endswith(ending))
        if not native_show.stdout or not ok:
            problems.append("%s: show %s, want %r, got %r" % (what, vrn, want, got))
    return problems


def check_read_only(windows):
    """A drop onto a read-only agenda file made by an earlier drop is refused
    and leaves it as it was, read-only."""
    with tempfile.TemporaryDirectory() as folder:
        cal = os.path.join(folder, "cal.ics")
        vrn = os.path.join(folder, "cal.vrn")
        write(cal, calendar("Kick-off"))
        first = run(windows, [windows_name(cal)], folder, "en_US.UTF-8")
        if first.returncode == 77:
            return None
        if first.returncode != 0 or not os.path.exists(vrn):
            return ["read-only: the first drop failed: %r" % (first,)]
        before = read(vrn)
        os.chmod(vrn, 0o444)  # what Wine shows as FILE_ATTRIBUTE_READONLY
        write(cal, calendar("Kick-off", "Added later"))
        second = run(windows, [windows_name(cal)], folder, "en_US.UTF-8")
        told = ("%s: cannot write %s: %s; %s is left as it is"
                % (PROGRAM, windows_name(vrn), READ_ONLY, windows_name(vrn)))
        lines = second.stderr.decode("utf-8", "replace").splitlines()
        mode = stat.S_IMODE(os.stat(vrn).st_mode)
        got = (second.returncode != 0, told in lines, read(vrn) == before, mode,
               sorted(os.listdir(folder)))
        want = (True, True, True, 0o444, ["cal.ics", "cal.vrn"])
        if got != want:
            return ["read-only agenda file refreshed by a drop: want %r, got %r (stderr %r)"
                    % (want, got, second.stderr)]
    return []


def main():
    native, windows = split_commands(sys.argv[1:], __doc__.strip().splitlines()[-1])
    if not windows:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    problems = []
    for row in DROPS:
        found = check_drop(native, windows, *row)
        if found is None:
            return report(None, "")
        problems += found
    found = check_read_only(windows)
    if found is None:
        return report(None, "")
    problems += found
    return report(problems, "vorlinde-agenda.exe: %d names and a read-only file as expected"
                  % len(DROPS))


if __name__ == "__main__":
    sys.exit(main())
