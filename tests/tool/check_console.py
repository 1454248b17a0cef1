#!/usr/bin/env python3
"""Checks that vorlinde-agenda.exe writes to a console in UTF-16, so that
Japanese shows whatever the console's code page: one row per command and
Wine's locale, the program's standard output is a terminal (Wine makes it a
console, and shows what the program writes there in UTF-8), and what shows
is the native program's output, the file's name aside. Wine's line breaks
(it wraps at 80 columns) and its cursor sequences are not compared.
Not covered: output to a pipe (the other tool tests, in the code page).

usage: check_console.py NATIVE-COMMAND... --windows WINDOWS-COMMAND..."""

import os
import pty
import re
import select
import subprocess
import sys
import tempfile
import time

from tool_support import SKIPPED, report, split_commands, windows_name

# An agenda file in Shift-JIS: an entry on 2027/01/05 and a line that never
# shows, which check quotes.
AGENDA = "2027/01/05 会議\r\n2027/13/40 打合せ\r\n".encode("cp932")

# (Wine's locale, the arguments before the file's name)
ROWS = [
    ("en_US.UTF-8", ["show", "--date", "2027/01/05", "--days", "2"]),
    ("en_US.UTF-8", ["check"]),
    ("ja_JP.UTF-8", ["check"]),
]

ESCAPE = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]")


def environment(locale):
    return dict(os.environ, LANG=locale, LC_ALL="", LC_MESSAGES="", TZ="UTC",
                SOURCE_DATE_EPOCH="1798761600", VORLINDE_WINE_LC_ALL=locale,
                # The session's compiled locales: Wine shows the console in
                # the locale's encoding, UTF-8.
                VORLINDE_WINE_UTF8_NAMES="1")


def on_terminal(command, env):
    """Runs `command` with its standard output on a terminal of its own; its
    status and what it wrote there (None past two minutes)."""
    master, slave = pty.openpty()
    process = subprocess.Popen(command, stdout=slave, stderr=subprocess.DEVNULL,
                               stdin=subprocess.DEVNULL, env=env)
    os.close(slave)
    shown = b""
    end = time.monotonic() + 120
    try:
        while time.monotonic() < end:
            if select.select([master], [], [], 0.5)[0]:
                try:
                    data = os.read(master, 1 << 16)
                except OSError:  # the terminal closed with the last writer
                    break
                if not data:
                    break
                shown += data
            elif process.poll() is not None:
                break
        else:
            process.kill()
            return process.wait(), None
        return process.wait(timeout=30), shown
    finally:
        os.close(master)


def lines_joined(text):
    """Text without terminal sequences and line breaks, where Wine's own
    wrapping cannot tell."""
    return ESCAPE.sub(b"", text).replace(b"\r", b"").replace(b"\n", b"")


def main():
    native, windows = split_commands(sys.argv[1:], __doc__.strip().splitlines()[-1])
    if not windows:
        print("check_console.py needs --windows", file=sys.stderr)
        return 2
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        agenda = os.path.join(folder, "console.vrn")
        with open(agenda, "wb") as f:
            f.write(AGENDA)
        for locale, args in ROWS:
            env = environment(locale)
            want = subprocess.run([*native, *args, agenda], capture_output=True, timeout=60,
                                  env=env, stdin=subprocess.DEVNULL)
            status, shown = on_terminal([*windows, *args, windows_name(agenda)], env)
            if status == SKIPPED:
                return report(None, "")
            expected = want.stdout.replace(agenda.encode(), windows_name(agenda).encode())
            if (status != want.returncode or shown is None
                    or lines_joined(shown) != lines_joined(expected)):
                problems.append("%s %s: want status %d and %r, got %d and %r"
                                % (locale, " ".join(args), want.returncode,
                                   expected.decode("utf-8"), status, shown))
    return report(problems, "vorlinde-agenda.exe: %d console outputs as the native program's"
                  % len(ROWS))


if __name__ == "__main__":
    sys.exit(main())
