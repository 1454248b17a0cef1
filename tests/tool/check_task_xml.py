#!/usr/bin/env python3
"""Reads back the refresh task's definition as Task Scheduler would: the file
write_task_xml writes for each row of a table of programs, agenda files and
users is parsed as XML (UTF-16 with its byte-order mark), and the task must
run the program with the arguments `refresh AGENDA-FILE` as Windows splits
them (CommandLineToArgvW's rules, written out again here), every day at 07:00
from a past day and when the user logs on, hidden, as that user without
elevation, also on battery, catching up a missed run, briefly, never twice at
once. Paths with spaces, quotes, "&", "<", Japanese and a character beyond
the BMP go through; a path with "%", which Task Scheduler would expand as an
environment variable's name, gets no definition at all.
Not covered: whether Windows accepts the element order (Wine keeps no
triggers or actions, see the task name test in tests/schedule_test.cpp).

usage: check_task_xml.py [EMULATOR...] write_task_xml"""

import datetime
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

from tool_support import report

NS = {"t": "http://schemas.microsoft.com/windows/2004/02/mit/task"}

ROWS = [
    (r"C:\Program Files\Vorlinde\vorlinde-agenda-task.exe",
     r"C:\Users\Taro\My Documents\cal.vrn", r"PC\Taro"),
    (r"C:\Tom & Jerry's <tools>\vorlinde-agenda-task.exe",
     r'D:\R&D "plans"\a<b>.vrn', r"R&D\O'Brien"),
    (r"C:\Vorlinde\vorlinde-agenda-task.exe", "C:\\odd folder\\", r"PC\Taro"),
    (r"C:\Vorlinde\vorlinde-agenda-task.exe", "C:\\Users\\田中\\予定 \U0001F600.vrn", "田中"),
    (r"\\server\tools\vorlinde-agenda-task.exe", r"\\server\share\cal.vrn", r"CORP\taro"),
]

# Paths no definition may carry: write_task_xml then writes nothing and fails.
REFUSED_ROWS = [
    (r"C:\Vorlinde\vorlinde-agenda-task.exe", r"C:\Sales 100%\%USERNAME%.vrn", r"PC\Taro"),
    (r"C:\50%off\vorlinde-agenda-task.exe", r"C:\Users\Taro\cal.vrn", r"PC\Taro"),
]


def split_windows_arguments(line):
    """The arguments of a command line after the program's name, as
    CommandLineToArgvW splits them."""
    arguments, current, quoted, backslashes, started = [], "", False, 0, False
    for c in line + " ":
        if c == "\\":
            backslashes += 1
            started = True
            continue
        if c == '"':
            current += "\\" * (backslashes // 2)
            if backslashes % 2:
                current += '"'
            else:
                quoted = not quoted
            backslashes, started = 0, True
            continue
        current += "\\" * backslashes
        backslashes = 0
        if c in " \t" and not quoted:
            if started:
                arguments.append(current)
            current, started = "", False
        else:
            current += c
            started = True
    return arguments


def check_row(command, program, agenda, user):
    problems = []
    where = "task for %r, %r, %r" % (program, agenda, user)
    data = subprocess.run(command + [program, agenda, user], stdout=subprocess.PIPE,
                          check=True).stdout
    if not data.startswith(b"\xff\xfe"):
        return ["%s: no UTF-16 LE byte-order mark" % where]
    try:
        task = ET.fromstring(data)
    except ET.ParseError as error:
        return ["%s: not well-formed XML: %s" % (where, error)]

    def text(path):
        found = task.findall(path, NS)
        if len(found) != 1:
            problems.append("%s: %d elements %s, not one" % (where, len(found), path))
            return None
        return found[0].text

    def expect(path, value):
        got = text(path)
        if got is not None and got != value:
            problems.append("%s: %s is %r, not %r" % (where, path, got, value))

    if task.tag != "{%s}Task" % NS["t"] or task.get("version") != "1.2":
        problems.append("%s: the root is %s version %s" % (where, task.tag, task.get("version")))
    start = text("t:Triggers/t:CalendarTrigger/t:StartBoundary")
    if start is not None:
        when = datetime.datetime.fromisoformat(start)
        if when.tzinfo is not None or when.time() != datetime.time(7, 0) or \
                when >= datetime.datetime.now():
            problems.append("%s: the daily start %s is not 07:00 local on a past day" %
                            (where, start))
    expect("t:Triggers/t:CalendarTrigger/t:ScheduleByDay/t:DaysInterval", "1")
    expect("t:Triggers/t:LogonTrigger/t:UserId", user)
    if len(task.findall("t:Triggers/*", NS)) != 2:
        problems.append("%s: triggers other than the daily and the logon one" % where)
    expect("t:Principals/t:Principal/t:UserId", user)
    expect("t:Principals/t:Principal/t:LogonType", "InteractiveToken")
    expect("t:Principals/t:Principal/t:RunLevel", "LeastPrivilege")
    principal = task.find("t:Principals/t:Principal", NS)
    actions = task.find("t:Actions", NS)
    if principal is None or actions is None or principal.get("id") != actions.get("Context"):
        problems.append("%s: the actions do not run as the task's principal" % where)
    for name, value in (("Hidden", "true"), ("StartWhenAvailable", "true"),
                        ("DisallowStartIfOnBatteries", "false"),
                        ("StopIfGoingOnBatteries", "false"),
                        ("MultipleInstancesPolicy", "IgnoreNew")):
        expect("t:Settings/t:" + name, value)
    limit = text("t:Settings/t:ExecutionTimeLimit")
    minutes = re.fullmatch(r"PT(\d+)M", limit or "")
    if not minutes or not 0 < int(minutes.group(1)) <= 30:
        problems.append("%s: the time limit %s is not a few minutes" % (where, limit))
    if len(task.findall("t:Actions/*", NS)) != 1:
        problems.append("%s: not exactly one action" % where)
    expect("t:Actions/t:Exec/t:Command", program)
    arguments = text("t:Actions/t:Exec/t:Arguments")
    if arguments is not None and split_windows_arguments(arguments) != ["refresh", agenda]:
        problems.append("%s: the arguments %s read back as %r" %
                        (where, arguments, split_windows_arguments(arguments)))
    expect("t:RegistrationInfo/t:Description",
           "Refreshes %s from the calendar it was imported from. / %s を取り込み元のカレンダーから"
           "取り込み直します。" % (agenda, agenda))
    return problems


def main():
    command = sys.argv[1:]
    if not command:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    problems = []
    for row in ROWS:
        problems += check_row(command, *row)
    for row in REFUSED_ROWS:
        done = subprocess.run(command + list(row), stdout=subprocess.PIPE)
        if done.returncode == 0 or done.stdout:
            problems.append("task for %r, %r, %r: want no definition, got status %d and %d bytes"
                            % (*row, done.returncode, len(done.stdout)))
    return report(problems, "%d task definitions read back as meant, %d refused"
                  % (len(ROWS), len(REFUSED_ROWS)))


if __name__ == "__main__":
    sys.exit(main())
