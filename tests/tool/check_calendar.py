#!/usr/bin/env python3
"""Checks vorlinde-agenda's calendar bridge as users run it: import against
golden files (the calendars and their expected agenda output in
tests/tool/calendar/), a table of repetition rules for expand, and the round
trip: an agenda file exported and imported again shows the same memo on every
day of two years, the exported iCalendar read by a second parser (Python's
icalendar, with dateutil's expansion of its rules) names the same entries on
every day, and export leaves out exactly the lines check warns about. Given a
command that runs vorlinde-agenda.exe, it checks that the Windows program
writes the native program's bytes for each import, export and expand.
It does not check the wording of messages beyond the golden files.

usage: check_calendar.py [--update] COMMAND... [--windows WINDOWS-COMMAND...]
(COMMAND runs the native program, an emulator first where there is one;
--update rewrites the golden files from the native program's output)"""

import datetime
import os
import re
import subprocess
import sys
import tempfile

import dateutil.rrule
import icalendar

from tool_support import report, split_commands, windows_name

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "calendar")
SAMPLE = os.path.join(HERE, "..", "..", "samples", "sample.vrn")
TRAPS = os.path.join(HERE, "traps.vrn")

TOKYO = ["--tz", "Asia/Tokyo"]
# The machine's own zone, for an import without --tz.
NEW_YORK = "America/New_York"
# Golden file, calendars, options, the machine's zone (None: UTC); the
# calendars are named relative to the data folder, which the imports run in.
IMPORTS = [
    ("example", ["example.ics"], ["--from", "2027/01/01", "--until", "2027/02/28"] + TOKYO, None),
    ("zones", ["zones.ics"], ["--from", "2027/03/01", "--until", "2027/03/31"] + TOKYO, None),
    ("clocks", ["clocks.ics"], ["--from", "2027/03/01", "--until", "2027/11/30"] + TOKYO, None),
    ("clocks-local", ["clocks.ics"], ["--from", "2027/03/01"], NEW_YORK),
    ("repeats", ["repeats.ics"], ["--from", "2037/12/20", "--until", "2038/02/20"] + TOKYO, None),
    ("damaged", ["example.ics", "damaged.ics"], ["--from", "2027/01/01"] + TOKYO, None),
    ("not-icalendar", ["wildcards.vrn"], ["--from", "2027/01/01"], None),
    ("damaged.ja", ["example.ics", "damaged.ics"], ["--from", "2027/01/01"] + TOKYO, None),
    ("cut-short.ja", ["cut-short.ics"], ["--from", "2027/01/01"] + TOKYO, None),
]
# The imports run in Japanese, which says why a calendar is damaged in
# Japanese alone; the others run in English.
JAPANESE = {"damaged.ja", "cut-short.ja"}

NOT_A_RULE = "not a repetition rule (write it as FREQ=WEEKLY;BYDAY=MO,TH)"
# Rule, first day, limit, and the days expand writes, or (with exit status 2)
# the end of the one line, after "--rule RULE: ", that tells why it refuses
# the rule.
RULES = [
    ("FREQ=WEEKLY;BYDAY=MO,TH", "2037/12/28", ["--count", "5"],
     ["2037/12/28", "2037/12/31", "2038/01/04", "2038/01/07", "2038/01/11"]),
    ("FREQ=MONTHLY;BYDAY=-1FR", "2037/11/01", ["--until", "2038/03/01"],
     ["2037/11/27", "2037/12/25", "2038/01/29", "2038/02/26"]),
    ("FREQ=MONTHLY;BYDAY=MO;BYSETPOS=2", "2040/01/01", ["--count", "2"],
     ["2040/01/09", "2040/02/13"]),
    ("FREQ=YEARLY", "2028/02/29", ["--until", "2040/12/31"],
     ["2028/02/29", "2032/02/29", "2036/02/29", "2040/02/29"]),
    ("FREQ=MONTHLY;BYMONTHDAY=31", "2038/01/01", ["--count", "4"],
     ["2038/01/31", "2038/03/31", "2038/05/31", "2038/07/31"]),
    ("FREQ=DAILY;INTERVAL=10;COUNT=3", "2037/12/25", [],
     ["2037/12/25", "2038/01/04", "2038/01/14"]),
    ("FREQ=WEEKLY;UNTIL=20380115", "2038/01/01", ["--count", "10"],
     ["2038/01/01", "2038/01/08", "2038/01/15"]),
    ("FREQ=DAILY;BYHOUR=9,17", "2038/01/18", ["--count", "2"], ["2038/01/18", "2038/01/19"]),
    ("FREQ=HOURLY", "2038/01/01", ["--count", "2"], "repeats more often than daily, but an agenda line is for a whole day"),
    # --count is occurrences, whatever span they take; without a limit, a year
    # is to the same day of the next year.
    ("FREQ=MONTHLY", "2027/01/01", ["--count", "14"],
     ["2027/%02d/01" % m for m in range(1, 13)] + ["2028/01/01", "2028/02/01"]),
    ("FREQ=YEARLY", "2027/03/01", [], ["2027/03/01", "2028/03/01"]),
    # Fortnights from the week --from falls in, weeks starting on WKST.
    ("FREQ=WEEKLY;INTERVAL=2;BYDAY=SU", "2002/05/11", ["--count", "2"],
     ["2002/05/12", "2002/05/26"]),
    ("FREQ=WEEKLY;INTERVAL=2;BYDAY=SU;WKST=MO", "2002/05/11", ["--count", "2"],
     ["2002/05/12", "2002/05/26"]),
    ("FREQ=WEEKLY;INTERVAL=2;BYDAY=SU;WKST=SU", "2002/05/11", ["--count", "2"],
     ["2002/05/19", "2002/06/02"]),
    ("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,SU", "2002/05/08", ["--count", "3"],
     ["2002/05/12", "2002/05/20", "2002/05/26"]),
    # BYMONTHDAY without BYMONTH in a yearly rule names every month's day.
    ("FREQ=YEARLY;BYMONTHDAY=31", "2027/04/06", ["--count", "3"],
     ["2027/05/31", "2027/07/31", "2027/08/31"]),
    ("FREQ=WEEKLY;BYMONTHDAY=3", "2027/04/06", ["--count", "3"],
     "its parts cannot go together in a repetition rule (such as BYMONTHDAY in a weekly rule)"),
    ("FREQ=FORTNIGHTLY", "2038/01/01", ["--count", "2"], NOT_A_RULE),
    ("FREQ=WEEKLY;BYDAY=XX", "2038/01/01", ["--count", "2"], NOT_A_RULE),
]

ROUND_TRIP = ("2027/01/01", 2)  # first day, years
EPOCH = "1798761600"  # the exports' DTSTAMP, 2027-01-01 00:00 UTC


def run(command, *args, cwd=None, zone=None, language="C"):
    env = dict(os.environ, LANG=language, LC_ALL="", SOURCE_DATE_EPOCH=EPOCH, TZ=zone or "UTC")
    return subprocess.run([*command, *args], capture_output=True, timeout=300, cwd=cwd, env=env)


def first_difference(want, got):
    want_lines, got_lines = want.split("\n"), got.split("\n")
    for i, (w, g) in enumerate(zip(want_lines, got_lines)):
        if w != g:
            return "line %d: want %r, got %r" % (i + 1, w, g)
    return "line %d: want %d lines, got %d" % (min(len(want_lines), len(got_lines)) + 1,
                                                len(want_lines), len(got_lines))


def readable(result):
    """An import's output as its golden file holds it: the agenda in UTF-8
    with LF, then the exit status and messages when there are any."""
    text = result.stdout.decode("cp932").replace("\r\n", "\n")
    if result.returncode != 0 or result.stderr:
        text += "== exit status %d, standard error ==\n" % result.returncode
        text += result.stderr.decode("utf-8")
    return text


def check_imports(native, data, update):
    problems = []
    for name, calendars, options, zone in IMPORTS:
        result = run(native, "import", *options, *calendars, cwd=data, zone=zone,
                     language="ja_JP.UTF-8" if name in JAPANESE else "C")
        golden = os.path.join(data, name + ".expected")
        if update:
            with open(golden, "w", encoding="utf-8") as f:
                f.write(readable(result))
            continue
        with open(golden, encoding="utf-8") as f:
            want = f.read()
        if readable(result) != want:
            problems.append("import %s: %s" % (name, first_difference(want, readable(result))))
        if result.returncode == 0:
            problems += check_clean(native, result.stdout, "import %s" % name)
    return problems


def check_clean(native, agenda, what):
    with tempfile.NamedTemporaryFile(suffix=".vrn") as f:
        f.write(agenda)
        f.flush()
        result = run(native, "check", f.name)
    if result.returncode != 0 or result.stdout:
        return ["%s: check finds %s" % (what, result.stdout.decode("utf-8", "replace"))]
    return []


def check_no_half_output(native, data):
    """A damaged calendar leaves the output file as it was, and no temporary."""
    with tempfile.TemporaryDirectory() as folder:
        output = os.path.join(folder, "agenda.vrn")
        with open(output, "wb") as f:
            f.write(b"old\r\n")
        result = run(native, "import", "--output", output, "example.ics", "damaged.ics",
                     cwd=data)
        with open(output, "rb") as f:
            kept = f.read()
        if result.returncode != 2 or kept != b"old\r\n" or os.listdir(folder) != ["agenda.vrn"]:
            return ["import --output of a damaged calendar: status %d, file %r, folder %s"
                    % (result.returncode, kept, os.listdir(folder))]
    return []


def expand_output(days):
    return "".join("%s rubbish\r\n" % day for day in days).encode()


def check_rules(command, english=True, rows=RULES):
    """The table; the Windows program speaks Japanese under wine, so its
    messages are not compared."""
    problems = []
    for rule, start, limit, want in rows:
        result = run(command, "expand", "--rule", rule, "--from", start, *limit, "rubbish")
        if isinstance(want, str):
            told = ["vorlinde-agenda: --rule %s: %s" % (rule, want)]
            said = result.stderr.decode("utf-8", "replace").splitlines() == told or not english
            ok = result.returncode == 2 and said and not result.stdout
        else:
            ok = result.returncode == 0 and result.stdout == expand_output(want)
        if not ok:
            problems.append("expand %s from %s %s: want %s, got status %d, %r %r"
                            % (rule, start, limit, want, result.returncode, result.stdout,
                               result.stderr))
    return problems


def memos(native, agenda):
    """The memo (bytes) of each day of the round trip's window."""
    first, years = ROUND_TRIP
    start = datetime.date(*map(int, first.split("/")))
    days = []
    for year in range(years):
        date = start.replace(year=start.year + year)
        length = (date.replace(year=date.year + 1) - date).days
        result = run(native, "show", "--raw", "--date", date.strftime("%Y/%m/%d"),
                     "--days", str(length), agenda)
        out = result.stdout
        days += (out[:-2] if out.endswith(b"\r\n") else out).split(b"\r\n\r\n")
    return days


def window():
    first, years = ROUND_TRIP
    start = datetime.date(*map(int, first.split("/")))
    return start, start.replace(year=start.year + years) - datetime.timedelta(days=1)


def check_exported(ics, original_memos, what):
    """The export as a second parser reads it: well-formed lines, one event per
    entry, and, with the events' rules expanded by dateutil, the entries of
    every day in the order of the original memo."""
    problems = []
    for i, line in enumerate(ics.split(b"\r\n")[:-1]):
        if len(line) > 75 or b"\n" in line or b"\r" in line:
            problems.append("%s: line %d is not a folded CR LF line: %r" % (what, i + 1, line))
        line.decode("utf-8")  # a fold inside a character would raise
    calendar = icalendar.Calendar.from_ical(ics)
    if str(calendar.get("VERSION")) != "2.0" or not calendar.get("PRODID"):
        problems.append("%s: VERSION or PRODID missing" % what)
    events = calendar.walk("VEVENT")
    uids = [str(event["UID"]) for event in events]
    if len(set(uids)) != len(uids):
        problems.append("%s: UIDs repeat: %s" % (what, uids))
    first, last = window()
    entries = {}
    for event in events:
        start = event.decoded("DTSTART")
        if isinstance(start, datetime.datetime) or "DTSTAMP" not in event:
            problems.append("%s: %s is not an all-day event with a stamp" % (what, event["UID"]))
            continue
        days = [start]
        if "RRULE" in event:
            rule = dateutil.rrule.rrulestr(event["RRULE"].to_ical().decode(),
                                           dtstart=datetime.datetime.combine(start,
                                                                             datetime.time()))
            days = [d.date() for d in rule.between(
                datetime.datetime.combine(first, datetime.time()),
                datetime.datetime.combine(last, datetime.time()), inc=True)]
        for day in days:
            entries.setdefault(day, []).append(str(event["SUMMARY"]))
    for offset, memo in enumerate(original_memos):
        day = first + datetime.timedelta(days=offset)
        shown = memo.decode("cp932").split("\r\n")[1:]
        shown = [] if shown == ["なし"] else shown
        if shown != entries.get(day, []):
            problems.append("%s: on %s the memo shows %s, the events say %s"
                            % (what, day, shown, entries.get(day, [])))
            break
    return problems


def check_round_trip(native, agenda):
    problems = []
    first, years = ROUND_TRIP
    _, last = window()
    with tempfile.TemporaryDirectory() as folder:
        ics = os.path.join(folder, "exported.ics")
        back = os.path.join(folder, "imported.vrn")
        result = run(native, "export", "--output", ics, agenda)
        if result.returncode != 0:
            return ["export %s: status %d, %r" % (agenda, result.returncode, result.stderr)]
        result = run(native, "import", "--from", first, "--until",
                     last.strftime("%Y/%m/%d"), "--output", back, ics)
        if result.returncode != 0:
            return ["import of the export of %s: status %d, %r"
                    % (agenda, result.returncode, result.stderr)]
        with open(back, "rb") as f:
            problems += check_clean(native, f.read(), "round trip of %s" % agenda)
        want, got = memos(native, agenda), memos(native, back)
        for offset, (w, g) in enumerate(zip(want, got)):
            if w != g:
                problems.append("round trip of %s: day %d of the window: want %r, got %r"
                                % (agenda, offset, w.decode("cp932"), g.decode("cp932")))
                break
        if len(want) != len(got):
            problems.append("round trip of %s: %d days, then %d" % (agenda, len(want), len(got)))
        with open(ics, "rb") as f:
            problems += check_exported(f.read(), want, "export of %s" % agenda)
    return problems


def check_left_out(native, traps):
    """export warns about, and leaves out, the lines check warns about."""
    def lines(output):
        return sorted({int(m) for m in re.findall(rb":(\d+):(?:\d+:)? warning: ", output)})
    checked = lines(run(native, "check", traps).stdout)
    exported = run(native, "export", traps)
    if exported.returncode != 0 or lines(exported.stderr) != checked or not checked:
        return ["export of %s: want warnings on lines %s, got status %d and %s"
                % (traps, checked, exported.returncode, lines(exported.stderr))]
    return []


def check_long_line(native):
    """A line of exactly 1023 bytes, which the plug-in reads whole, comes back
    from export and import as it was."""
    line = b"2027/01/05 " + b"x" * 1012
    with tempfile.TemporaryDirectory() as folder:
        agenda, ics, back = (os.path.join(folder, n) for n in ("a.vrn", "a.ics", "b.vrn"))
        with open(agenda, "wb") as f:
            f.write(line + b"\r\n")
        exported = run(native, "export", "--output", ics, agenda)
        imported = run(native, "import", "--from", "2027/01/01", "--until", "2027/01/31",
                       "--output", back, ics)
        lines = []
        if os.path.exists(back):
            with open(back, "rb") as f:
                lines = f.read().split(b"\r\n")
        if exported.returncode or exported.stderr or imported.returncode or line not in lines:
            return ["a 1023-byte line through export and import: statuses %d, %d, %r, lines %r"
                    % (exported.returncode, imported.returncode, exported.stderr,
                       [l[:20] for l in lines])]
    return []


def check_expand_warns(command):
    """expand writes 〓 for a character Shift-JIS lacks and says so, as import does."""
    result = run(command, "expand", "--rule", "FREQ=DAILY", "--from", "2027/01/01", "--count", "1",
                 "誕生日🎂")
    said = result.stderr.decode("utf-8", "replace").splitlines() == [
        'vorlinde-agenda: warning: "誕生日🎂" has characters Shift-JIS lacks; they are written as 〓']
    if result.returncode != 0 or result.stdout != "2027/01/01 誕生日〓\r\n".encode("cp932") \
            or not said:
        return ["expand of a text with 🎂: status %d, %r %r"
                % (result.returncode, result.stdout, result.stderr)]
    return []


def check_windows(native, windows, data, sample):
    def on_z(path):
        return windows_name(os.path.abspath(path))
    problems = []
    # The Windows program's local time is Wine's, which these runs do not set.
    runs = [("import " + name, ["import", *options, *(os.path.join(data, c) for c in calendars)])
            for name, calendars, options, zone in IMPORTS
            if zone is None and name not in JAPANESE]
    runs += [("export " + f, ["export", f]) for f in (sample, os.path.join(data, "wildcards.vrn"))]
    for what, args in runs:
        want = run(native, *args)
        got = run(windows, *[on_z(a) if os.path.exists(a) else a for a in args])
        if got.returncode == 77:  # wine-run.sh: this machine has no such wine
            return None
        # An import records its calendars by the names it was given.
        stdout = got.stdout
        for a in args:
            if os.path.exists(a):
                stdout = stdout.replace(b"; source: " + on_z(a).encode(), b"; source: " + a.encode())
        if (got.returncode, stdout) != (want.returncode, want.stdout):
            problems.append("windows %s: want status %d, got %d; %s"
                            % (what, want.returncode, got.returncode,
                               first_difference(want.stdout.decode("cp932", "replace"),
                                                stdout.decode("cp932", "replace"))))
    # (Not expand's text with 🎂: Windows gives a program its command line in
    # the ANSI code page, which has no such character.)
    # The rules whose days reach past 2038, where a 32-bit program's time
    # could end; the others name the same days on every platform.
    return problems + check_rules(windows, english=False,
                                  rows=[r for r in RULES if isinstance(r[3], list)
                                        and r[3][-1] >= "2038"])


def main():
    args = sys.argv[1:]
    update = "--update" in args
    if update:
        args.remove("--update")
    native, windows = split_commands(args, __doc__.strip().splitlines()[-3])
    data, sample, traps = DATA, os.path.abspath(SAMPLE), TRAPS
    if windows:
        problems = check_windows(native, windows, data, sample)
    else:
        problems = check_imports(native, data, update)
        if update:
            return 0
        problems += check_no_half_output(native, data)
        problems += check_rules(native)
        with tempfile.TemporaryDirectory() as folder:
            holidays = os.path.join(folder, "holidays.vrn")
            run(native, "holidays", "--from", "2027", "--until", "2028", "--output", holidays)
            for agenda in (sample, os.path.join(data, "wildcards.vrn"), holidays):
                problems += check_round_trip(native, agenda)
        problems += check_left_out(native, traps)
        problems += check_long_line(native) + check_expand_warns(native)
    return report(problems, "vorlinde-agenda%s: import, export and expand as expected"
                  % (" and .exe" if windows else ""))


if __name__ == "__main__":
    sys.exit(main())
