#!/usr/bin/env python3
"""Checks vorlinde-agenda refresh: an agenda file imported from a calendar at
a web address of a server of the test's own (calendar_server.py, HTTPS with a
CA made for the test) and from a file beside it is made again from them, its
window moved to a pinned today (SOURCE_DATE_EPOCH), and says nothing; a
source that fails (the server stopped, an HTTP error, a damaged calendar)
leaves the file byte for byte as it was, exit 2, a message naming the masked
address and no secret; a file import did not write is refused and the other
files are still refreshed; a reader that reads the file over and over
while it is refreshed again and again only ever sees a whole file; refresh as
a daily task meets files (the file's mode, a read-only file, a link, the
header's zone and sources as data, a name no task carries, a path no chip
reads); and two refreshes of one file started together take turns.

Given a command that runs vorlinde-agenda.exe, and the program that holds a
file open as the plug-in does (tests/wine/hold_open.cpp), it checks instead
that the Windows program refreshes a file over http to the native program's
bytes, replaces it while another process holds it open for a moment, and
gives up, leaving it as it was, when that lasts too long.

usage: check_refresh.py COMMAND... [--windows WINDOWS-COMMAND... --hold HOLD-COMMAND...]"""

import fcntl
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import threading
import time

from calendar_server import SECRET, CalendarServer
from tool_support import report, split_commands, windows_name

HERE = os.path.dirname(os.path.abspath(__file__))
CALENDAR = os.path.join(HERE, "calendar", "example.ics")
NEW_YEAR = 1798761600  # 2027-01-01 00:00 UTC, the day of the import
FEBRUARY = 1801440000  # 2027-02-01, the day of the refresh
# An event the served calendar gains after the import.
ADDED = (b"BEGIN:VEVENT\r\nUID:added@example.com\r\nDTSTART;VALUE=DATE:20270210\r\n"
         b"SUMMARY:Added later\r\nEND:VEVENT\r\n")


def environment(epoch, folder, timeout="10"):
    env = {k: v for k, v in os.environ.items()
           if k.lower() not in ("http_proxy", "https_proxy", "all_proxy", "no_proxy")}
    env.update(LANG="C", LC_ALL="", TZ="UTC", SOURCE_DATE_EPOCH=str(epoch),
               VORLINDE_CA_FILE=os.path.join(folder, "ca.pem"), VORLINDE_WEB_TIMEOUT=timeout)
    return env


def run(command, args, epoch, folder, cwd=None, timeout="10", seconds=120):
    return subprocess.run([*command, *args], capture_output=True, timeout=seconds,
                          env=environment(epoch, folder, timeout), cwd=cwd)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def served_with(extra):
    calendar = read(CALENDAR)
    return calendar.replace(b"END:VCALENDAR", extra + b"END:VCALENDAR")


def check_refreshes(native, server, folder):
    problems = []
    agendas = os.path.join(folder, "agendas")
    os.mkdir(agendas)
    shutil.copy(CALENDAR, os.path.join(agendas, "local.ics"))
    cal = os.path.join(agendas, "cal.vrn")
    address = server.address("https", "calendar.ics")
    result = run(native, ["import", "--tz", "Asia/Tokyo", "--output", cal, address,
                          os.path.join(agendas, "local.ics")], NEW_YEAR, folder)
    imported = read(cal) if os.path.exists(cal) else b""
    header = ("; vorlinde-agenda import 2026/12/25 - 2028/01/01\r\n; source: %s\r\n"
              "; source: local.ics\r\n; zone: Asia/Tokyo\r\n; window: -7 days to +1 year\r\n"
              % address).encode()
    if result.returncode != 0 or not imported.startswith(header):
        return ["import --output: status %d, %r, %r" % (result.returncode, imported[:300],
                                                        result.stderr)]

    # The served calendar changes; a month later the window has moved on.
    server.calendar = served_with(ADDED)
    result = run(native, ["refresh", "--verbose", cal], FEBRUARY, folder, cwd=HERE)
    now = read(cal)
    lines = now.split(b"\r\n")
    if (result.returncode != 0 or b"2027/02/10 Added later" not in lines
            or lines[0] != b"; vorlinde-agenda import 2027/01/25 - 2028/02/01"
            or b"2027/01/05 10:00 Weekly meeting" in lines
            or result.stdout.decode().splitlines() != [
                "%s: refreshed: entries added 1, removed 6" % cal]):
        problems.append("refresh a month on: status %d, %r, %r"
                        % (result.returncode, result.stdout, now[:400]))
    if run(native, ["refresh", cal], FEBRUARY, folder).stdout:
        problems.append("refresh without --verbose said something")

    # Sources that fail leave the file as it was, and say so in whole lines,
    # naming the address masked.
    hand = os.path.join(agendas, "hand.vrn")
    with open(hand, "wb") as f:
        f.write(b"; my own agenda\r\n2027/01/05 dentist\r\n")
    before = read(cal)
    shown = "https://127.0.0.1:%d/..." % server.https_port
    left = "vorlinde-agenda: %s is left as it was" % cal
    failures = [
        ("a damaged calendar", served_with(b"DTSTART:never\r\n"), [cal],
         ["%s:58: error: the calendar is damaged: Can't parse as DATE-TIME value in DTSTART "
          "property" % shown, left]),
        ("an HTTP error", None, [cal],
         ["vorlinde-agenda: cannot fetch %s: the server answered with HTTP status 404" % shown,
          left]),
        ("a file import did not write", read(CALENDAR), [hand, cal],
         ["vorlinde-agenda: %s was not written by vorlinde-agenda import, so it cannot be "
          "refreshed; it is left as it is" % hand]),
    ]
    for what, served, files, says in failures:
        if served is None:
            replaced = before.replace(b"calendar.ics?", b"missing?")
            with open(cal, "wb") as f:
                f.write(replaced)
        else:
            server.calendar = served
        kept = [read(f) for f in files]
        result = run(native, ["refresh", *files], FEBRUARY, folder)
        message = result.stderr.decode("utf-8", "replace")
        unchanged = [read(f) for f in files[:1]] == kept[:1]
        if (result.returncode != 2 or not unchanged or message.splitlines() != says
                or SECRET in message or "hunter2" in message
                or sorted(os.listdir(agendas)) != ["cal.vrn", "hand.vrn", "local.ics"]):
            problems.append("refresh with %s: status %d, unchanged %s, %r, %s"
                            % (what, result.returncode, unchanged, message,
                               os.listdir(agendas)))
        if served is None:
            with open(cal, "wb") as f:
                f.write(before)
    # The other file given was still refreshed: the served calendar lost
    # the event it had gained.
    if b"2027/02/10 Added later" in read(cal):
        problems.append("refresh of a file given after one it refused did not refresh it")

    before = read(cal)
    server.stop()
    result = run(native, ["refresh", cal], FEBRUARY, folder)
    message = result.stderr.decode("utf-8", "replace")
    if (result.returncode != 2 or read(cal) != before or message.splitlines() != [
            "vorlinde-agenda: cannot fetch %s: the server cannot be reached" % shown, left]
            or SECRET in message):
        problems.append("refresh with the server stopped: status %d, %r"
                        % (result.returncode, message))
    return problems


def check_shortcut(native, server, folder):
    """An Internet shortcut to the calendar's address, dropped onto the
    program, makes an agenda file beside it that records the address."""
    work = os.path.join(folder, "shortcut")
    os.mkdir(work)
    address = server.address("https", "calendar.ics")
    with open(os.path.join(work, "team.url"), "w", newline="\r\n") as f:
        f.write("[InternetShortcut]\nURL=%s\n" % address)
    result = run(native, [os.path.join(work, "team.url")], NEW_YEAR, folder, cwd=work)
    agenda = os.path.join(work, "team.vrn")
    made = read(agenda) if os.path.exists(agenda) else b""
    lines = made.split(b"\r\n")
    if (result.returncode != 0 or ("; source: %s" % address).encode() not in lines
            or b"2027/01/05 01:00 Weekly meeting" not in lines
            or SECRET.encode() in result.stdout):
        return ["a shortcut dropped: status %d, %r, %r" % (result.returncode, result.stdout[-200:],
                                                          made[:300])]
    return []


def check_whole_while_read(native, folder):
    """A reader reads the file in a loop while it is refreshed from two
    calendars in turn: each read is one whole version or the other."""
    agendas = os.path.join(folder, "read")
    os.mkdir(agendas)
    source = os.path.join(agendas, "source.ics")
    cal = os.path.join(agendas, "cal.vrn")
    versions = []
    for extra in (b"", ADDED):
        with open(source, "wb") as f:
            f.write(served_with(extra))
        run(native, ["import", "--output", cal, source], NEW_YEAR, folder)
        versions.append(read(cal))
    seen, done = [], threading.Event()

    def reader():
        while not done.is_set() and len(seen) < 100000:
            with open(cal, "rb") as f:
                seen.append(f.read())
    thread = threading.Thread(target=reader)
    thread.start()
    try:
        for turn in range(20):
            with open(source, "wb") as f:
                f.write(served_with(b"" if turn % 2 else ADDED))
            run(native, ["refresh", cal], NEW_YEAR, folder)
    finally:
        done.set()
        thread.join(60)
    torn = [s for s in seen if s not in versions]
    if len(set(versions)) != 2 or torn or not seen:
        return ["reading while refreshing: %d reads, %d of neither version" % (len(seen),
                                                                               len(torn))]
    return []


def check_unattended(native, server, folder):
    """Refresh as a daily task meets files. Each row: what, the file (made by
    a function), the arguments before it, the exit status, stderr's and
    stdout's lines, and the facts that must hold afterwards."""
    work = os.path.join(folder, "unattended")
    os.makedirs(os.path.join(work, "real"))
    model = os.path.join(work, "model.vrn")
    address = server.address("https", "calendar.ics")
    run(native, ["import", "--output", model, address], NEW_YEAR, folder)
    imported = read(model)
    os.remove(model)
    server.calendar = served_with(ADDED)
    fifo = os.path.join(work, "fifo")
    os.mkfifo(fifo)
    long_name = os.path.join(work, "d" * 150, "e" * 150, "cal.vrn")
    os.makedirs(os.path.dirname(long_name))

    def agenda(name, old=b"", new=b"", mode=0o644):
        path = os.path.join(work, name)
        with open(path, "wb") as f:
            f.write(imported.replace(old, new))
        os.chmod(path, mode)
        return path

    def linked():
        os.symlink(agenda("real/link.vrn"), os.path.join(work, "link.vrn"))
        return os.path.join(work, "link.vrn")

    def blocked():
        os.makedirs(os.path.join(work, "blocked.vrn.writing", "inside"))
        return agenda("blocked.vrn")

    t = "vorlinde-agenda: "
    warning = ('https://127.0.0.1:%d/...:44: warning: "新年会🍻 at 居酒屋" has characters '
               'Shift-JIS lacks; they are written as 〓' % server.https_port)
    zone = b"; zone: ../../../.." + fifo.encode()
    rows = [
        ("mode 600", lambda: agenda("private.vrn", mode=0o600), ["refresh"], 0, [], [],
         {"mode": 0o600, "refreshed": True}),
        ("mode 444", lambda: agenda("readonly.vrn", mode=0o444), ["refresh"], 2,
         [t + "cannot write {f}: it may not be written (read-only); {f} is left as it is"], [],
         {"mode": 0o444, "refreshed": False}),
        ("a link", linked, ["refresh", "--verbose"], 0, [warning],
         ["{f}: refreshed: entries added 1, removed 0"], {"link": True, "refreshed": True}),
        ("a folder at the old temporary name", blocked, ["refresh"], 0, [], [],
         {"refreshed": True, "kept": True}),
        ("a pipe as the zone", lambda: agenda("zone.vrn", b"; zone: local", zone), ["refresh"],
         2, [t + "{f}: the zone recorded in its header, %s, is not known; it is left as it was"
             % zone[8:].decode()], [], {"refreshed": False}),
        ("a pipe as a source", lambda: agenda("source.vrn", b"; zone:", b"; source: %s\r\n"
                                              b"; zone:" % fifo.encode()), ["refresh"], 2,
         [t + "cannot read %s: not a regular file" % fifo, t + "{f} is left as it was"], [],
         {"refreshed": False}),
        ("a line end in a name", lambda: agenda("a\nb.vrn"), ["refresh", "--schedule"], 2,
         [t + "{q}: its name holds a control character, which no daily task carries; rename "
          "the file and try again"], [], {"refreshed": False}),
        ("another run holding the lock", lambda: agenda("held.vrn"), ["refresh"], 2,
         [t + "{f}: another run is refreshing it, and did not end within 4 seconds; it is left "
          "as it is to that run"], [], {"refreshed": False, "held": True}),
        ("a path longer than a chip reads", lambda: long_name, ["import", "--output"], 0,
         [warning, "", "A chip cannot read the path of {f}: it takes %d bytes, and a chip reads "
          "at most 259." % len(long_name),
          "Move the file to a folder with a shorter path, or give it a shorter name."], [],
         {"refreshed": True, "import": address}),
    ]
    problems = []
    for what, prepare, args, status, says, prints, after in rows:
        path = prepare()
        before = read(path) if os.path.exists(path) else b""
        holder = open(path, "rb") if "held" in after else None
        if holder:
            fcntl.flock(holder, fcntl.LOCK_EX)
        try:  # the timeout bounds a run that would wait on a pipe for ever
            result = run(native, [*args, path] + ([address] if "import" in after else []),
                         NEW_YEAR, folder, timeout="1" if holder else "10", seconds=20)
            got = (result.returncode, result.stderr.decode().splitlines(),
                   result.stdout.decode().splitlines())
        except subprocess.TimeoutExpired:
            got = ("no end within 20 s", [], [])
        if holder:
            holder.close()
        names = {"f": path, "q": path.replace("\n", "\\n")}
        expected = (status, [line.format(**names) for line in says],
                    [line.format(**names) for line in prints])
        now = read(path)
        facts = {"refreshed": b"Added later" in now and now != before,
                 "mode": stat.S_IMODE(os.stat(path).st_mode), "link": os.path.islink(path),
                 "kept": os.path.isdir(os.path.join(work, "blocked.vrn.writing", "inside")),
                 "held": True, "import": address}
        facts = {k: facts[k] for k in after}
        left = [n for n in os.listdir(work) + os.listdir(os.path.join(work, "real"))
                if n.endswith(".writing") and n != "blocked.vrn.writing"]
        if got != expected or facts != after or left:
            problems.append("%s: expected %r %r, got %r %r, temporary files %r"
                            % (what, expected, after, got, facts, left))
    server.calendar = read(CALENDAR)
    return problems


def check_together(native, server, folder):
    """Two refreshes of one file started together against a slow server take
    turns (the server's answers do not overlap), both succeed saying nothing,
    the file is one whole version, and no temporary file remains."""
    work = os.path.join(folder, "together")
    os.mkdir(work)
    cal, alone = os.path.join(work, "cal.vrn"), os.path.join(folder, "alone.vrn")
    run(native, ["import", "--output", cal, server.address("https", "slow.ics")], NEW_YEAR,
        folder)
    server.calendar = served_with(ADDED)
    shutil.copy(cal, alone)
    run(native, ["refresh", alone], NEW_YEAR, folder)
    problems = []
    for turn in range(3):
        server.slow.clear()
        runs = [subprocess.Popen([*native, "refresh", cal], stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, env=environment(NEW_YEAR, folder))
                for _ in range(2)]
        results = [(r.communicate(timeout=60), r.returncode) for r in runs]
        spans = sorted(server.slow)
        if (results != [((b"", b""), 0)] * 2 or read(cal) != read(alone) or len(spans) != 2
                or spans[1][0] < spans[0][1] or os.listdir(work) != ["cal.vrn"]):
            problems.append("two refreshes together, turn %d: %r, fetches %r, %r"
                            % (turn, results, spans, os.listdir(work)))
    server.calendar = read(CALENDAR)
    return problems


def check_windows(native, windows, hold, server, folder):
    """The Windows program: the native bytes over http, and a file held open."""
    problems = []
    work = os.path.join(folder, "windows")
    os.mkdir(work)
    address = server.address("http", "calendar.ics")
    cals = {}
    for who, command, name in (("native", native, lambda p: p),
                               ("windows", windows, windows_name)):
        cals[who] = os.path.join(work, who + ".vrn")
        run(command, ["import", "--output", name(cals[who]), address], NEW_YEAR, folder)
    server.calendar = served_with(ADDED)
    results = {who: run(command, ["refresh", name(cals[who])], FEBRUARY, folder)
               for who, command, name in (("native", native, lambda p: p),
                                          ("windows", windows, windows_name))}
    if results["windows"].returncode == 77:
        return None
    if read(cals["native"]) != read(cals["windows"]) or results["windows"].returncode != 0:
        problems.append("windows refresh over http: status %d, not the native bytes"
                        % results["windows"].returncode)
    # Held open for 1 s: replaced once it is let go; for 8 s: left as it was.
    for seconds, status in ((1, 0), (8, 2)):
        before = read(cals["windows"])
        server.calendar = served_with(ADDED if before.count(b"Added") == 0 else b"")
        holder = subprocess.Popen([*hold, windows_name(cals["windows"]), str(seconds * 1000)],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        opened = holder.stdout.readline()
        result = run(windows, ["refresh", windows_name(cals["windows"])], FEBRUARY, folder)
        holder.wait(120)
        changed = read(cals["windows"]) != before
        left = [f for f in os.listdir(work) if not f.endswith(".vrn")]
        if (not opened.startswith(b"held") or result.returncode != status
                or changed != (status == 0) or left):
            problems.append("windows refresh of a file held open %d s: %r, status %d, "
                            "changed %s, left %s" % (seconds, opened, result.returncode,
                                                     changed, left))
    return problems


def main():
    args = sys.argv[1:]
    hold = []
    if "--hold" in args:
        at = args.index("--hold")
        args, hold = args[:at], args[at + 1:]
    native, windows = split_commands(args, __doc__.strip().splitlines()[-1])
    with tempfile.TemporaryDirectory() as folder:
        with CalendarServer(CALENDAR, folder) as server:
            if windows:
                problems = check_windows(native, windows, hold, server, folder)
            else:
                problems = check_whole_while_read(native, folder)
                problems += check_shortcut(native, server, folder)
                problems += check_unattended(native, server, folder)
                problems += check_together(native, server, folder)
                problems += check_refreshes(native, server, folder)
    return report(problems, "vorlinde-agenda%s: refresh as expected"
                  % (" and .exe" if windows else ""))


if __name__ == "__main__":
    sys.exit(main())
