#!/usr/bin/env python3
"""Checks what a calendar dropped onto vorlinde-agenda does, one row per case
of the files beside it: it is imported into NAME.vrn beside it, the path to
write into the chip shown; a NAME.vrn a drop made before from it is refreshed;
any other NAME.vrn (another calendar's, or written by hand) is kept and the
calendar goes into NAME-2.vrn; a damaged calendar is an error that says why,
with nothing written. And refresh --schedule prints the crontab line natively
and changes nothing.

Given a command that runs vorlinde-agenda.exe and the folder of the wine
session (--session), it checks instead that the Windows program makes the
native program's bytes on a drop and on a second drop after the calendar
changed, and that --schedule twice leaves one task registered, which
--unschedule removes (Wine keeps the task as a file named after it).

usage: check_dropped.py COMMAND... [--windows WINDOWS-COMMAND... --session DIR]"""

import os
import subprocess
import sys
import tempfile

from tool_support import report, split_commands, windows_name

NEW_YEAR = "1798761600"  # 2027-01-01 00:00 UTC: the day of the drops


def calendar(*summaries):
    """An iCalendar of all-day events on 2027/01/05, 06...: the same lines in
    every time zone."""
    events = "".join("BEGIN:VEVENT\r\nUID:%d@example.com\r\nDTSTART;VALUE=DATE:202701%02d\r\n"
                     "SUMMARY:%s\r\nEND:VEVENT\r\n" % (n, n + 5, s)
                     for n, s in enumerate(summaries))
    return ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Vorlinde tests//drops//EN\r\n%s"
            "END:VCALENDAR\r\n" % events).encode()


CHIP = "Write this into the chip to show the calendar there:"
HAND = b"; my own agenda\r\n2027/01/05 dentist\r\n"
DAMAGED = b"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:tomorrow\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"


def run(command, args, cwd):
    env = dict(os.environ, LANG="C", LC_ALL="", TZ="UTC", SOURCE_DATE_EPOCH=NEW_YEAR)
    return subprocess.run([*command, *args], capture_output=True, timeout=120, cwd=cwd,
                          env=env, stdin=subprocess.DEVNULL)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def check_rows(native):
    problems = []
    for what in ("a calendar", "one a drop made before", "another calendar's",
                 "one written by hand", "a damaged calendar"):
        with tempfile.TemporaryDirectory() as folder:
            cal, vrn = os.path.join(folder, "cal.ics"), os.path.join(folder, "cal.vrn")
            other = os.path.join(folder, "other.ics")
            write(cal, calendar("Kick-off", "Review"))
            if what == "one a drop made before":
                run(native, [cal], folder)
                write(cal, calendar("Kick-off", "Review", "Added later"))
            elif what == "another calendar's":
                write(other, calendar("Someone else's"))
                run(native, ["import", "--output", vrn, other], folder)
            elif what == "one written by hand":
                write(vrn, HAND)
            elif what == "a damaged calendar":
                write(cal, DAMAGED)
            kept = read(vrn) if os.path.exists(vrn) else None
            result = run(native, [cal], folder)
            out = result.stdout.decode("utf-8", "replace")
            err = result.stderr.decode("utf-8", "replace")
            got = "status %d, %s, %r %r" % (result.returncode, sorted(os.listdir(folder)), out,
                                            err)
            out_lines, err_lines = out.splitlines(), err.splitlines()
            if what == "a damaged calendar":
                ok = (result.returncode == 2 and not out_lines and not os.path.exists(vrn)
                      and err_lines == ["%s:3: error: the calendar is damaged: Can't parse as "
                                        "DATE-TIME value in DTSTART property" % cal])
            else:
                target = vrn if kept is None or what == "one a drop made before" else \
                    os.path.join(folder, "cal-2.vrn")
                lines = read(target).split(b"\r\n") if os.path.exists(target) else []
                # Whole lines before and after the week's memos.
                told = ([] if target == vrn else
                        ["%s is another file, which is kept as it is: the calendar goes into %s"
                         % (vrn, target)])
                ok = (result.returncode == 0 and not err_lines
                      and out_lines[:len(told)] == told
                      and out_lines[-3:] == ["", CHIP, target]
                      and b"2027/01/06 Review" in lines
                      and (what != "one a drop made before" or b"2027/01/07 Added later" in lines)
                      and (kept is None or target == vrn or read(vrn) == kept))
            if not ok:
                problems.append("dropping %s beside %s: %s" % ("cal.ics", what, got))
    # Natively --schedule says what to add to the crontab and changes nothing.
    with tempfile.TemporaryDirectory() as folder:
        cal = os.path.join(folder, "cal.ics")
        write(cal, calendar("Kick-off"))
        run(native, [cal], folder)
        before = sorted(os.listdir(folder)), read(os.path.join(folder, "cal.vrn"))
        result = run(native, ["refresh", "--schedule", "cal.vrn"], folder)
        agenda = os.path.join(folder, "cal.vrn")
        line = "0 7 * * * '%s' refresh '%s'" % (os.path.realpath(native[-1]), agenda)
        told = ("vorlinde-agenda: add the line above to your crontab (crontab -e) to refresh %s "
                "every day; nothing was changed" % agenda)
        if (result.returncode != 0 or result.stdout.decode().splitlines() != [line]
                or result.stderr.decode().splitlines() != [told]
                or (sorted(os.listdir(folder)), read(agenda)) != before):
            problems.append("refresh --schedule natively: want %r and %r, got status %d, %r %r"
                            % (line, told, result.returncode, result.stdout, result.stderr))
    return problems


def check_windows(native, windows, session):
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        for who in ("native", "windows"):
            os.mkdir(os.path.join(folder, who))
            write(os.path.join(folder, who, "cal.ics"), calendar("Kick-off", "Review"))
        made = {}
        for turn in ("a drop", "a second drop after the calendar changed"):
            for who, command, name in (("native", native, lambda p: p),
                                       ("windows", windows, windows_name)):
                cal = os.path.join(folder, who, "cal.ics")
                if turn != "a drop":
                    write(cal, calendar("Kick-off", "Review", "Added later"))
                result = run(command, [name(cal)], os.path.join(folder, who))
                if result.returncode == 77:  # wine-run.sh: this machine has no such wine
                    return None
                vrn = os.path.join(folder, who, "cal.vrn")
                made[who] = (result.returncode, read(vrn) if os.path.exists(vrn) else None,
                             sorted(os.listdir(os.path.join(folder, who))))
            if made["native"] != made["windows"] or made["native"][1] is None:
                problems.append("windows, %s: want %r, got %r" % (turn, made["native"],
                                                                   made["windows"]))
        # The task Wine keeps for the file: one after two --schedule, none after
        # --unschedule.
        vrn = windows_name(os.path.join(folder, "windows", "cal.vrn"))
        tasks = os.path.join(session, "prefix", "drive_c", "windows", "system32", "tasks",
                             "Vorlinde")

        def registered():
            return sorted(os.listdir(tasks)) if os.path.isdir(tasks) else []
        statuses = [run(windows, ["refresh", "--schedule", vrn], folder).returncode
                    for _ in range(2)]
        scheduled = registered()
        statuses.append(run(windows, ["refresh", "--unschedule", vrn], folder).returncode)
        if statuses != [0, 0, 0] or len(scheduled) != 1 or registered():
            problems.append("windows --schedule twice, then --unschedule: statuses %s, tasks %s "
                            "then %s" % (statuses, scheduled, registered()))
    return problems


def main():
    args = sys.argv[1:]
    session = None
    if "--session" in args:
        at = args.index("--session")
        session = args[at + 1]
        args = args[:at] + args[at + 2:]
    native, windows = split_commands(args, __doc__.strip().splitlines()[-1])
    if windows:
        problems = check_windows(native, windows, session)
    else:
        problems = check_rows(native)
    return report(problems, "vorlinde-agenda%s: dropped calendars as expected"
                  % (" and .exe" if windows else ""))


if __name__ == "__main__":
    sys.exit(main())
