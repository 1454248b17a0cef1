#!/usr/bin/env python3
"""Checks vorlinde-agenda import of web addresses against a server of its own
on 127.0.0.1 (calendar_server.py, plain HTTP and HTTPS with a CA made for the
test), one row per case: the exit status, the agenda written (the bytes of
importing the same calendar from its file, its first lines recording the
address for refresh), nothing written on a failure, a message saying why,
and that no message, nor anything written but that record, shows the secret
path or query of the address.

Given a command that runs vorlinde-agenda.exe, it checks that the Windows
program gives the native program's status, bytes and message for each row
over http. It cannot be told the test CA (it uses the system's store), so it
must refuse https from the test server, naming the masked address; the
reason is not compared, as Wine tells a refused certificate as a failed
handshake. Wine's WinHTTP does not decompress, so it asks for nothing
compressed and gets the gzip rows' bodies plain.

usage: check_web.py COMMAND... [--windows WINDOWS-COMMAND...]"""

import os
import subprocess
import sys
import tempfile
import time

from calendar_server import DRIP_SECONDS, SECRET, CalendarServer
from tool_support import report, split_commands

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "calendar")
CALENDAR = "example.ics"
OPTIONS = ["--from", "2027/01/01", "--until", "2027/02/28", "--tz", "Asia/Tokyo"]
TOKEN = "hunter2"  # in every address's query

OK = None
STATUS = "the server answered with HTTP status %d"
UNTRUSTED = "the server's certificate is not trusted"
# Name, scheme, path under SECRET, settings (CA: the test CA; OTHER: a CA that
# did not sign the server's certificate; TIMEOUT: a test time limit; JA:
# Japanese messages), and OK or why the calendar could not be fetched: the
# end of the one line told, after the masked address.
ROWS = [
    ("200", "http", "calendar.ics", "", OK),
    ("200 over https", "https", "calendar.ics", "CA", OK),
    ("webcal is https", "webcal", "calendar.ics", "CA", OK),
    ("gzip", "http", "gzip.ics", "", OK),
    ("a redirect", "http", "chain/1", "", OK),
    ("five redirects", "https", "chain/5", "CA", OK),
    ("six redirects", "http", "chain/6", "", "more than 5 redirects"),
    ("a redirect loop", "https", "loop", "CA", "more than 5 redirects"),
    ("404", "http", "missing", "", STATUS % 404),
    ("401", "https", "private", "CA", STATUS % 401),
    ("500", "http", "broken", "", STATUS % 500),
    ("500 in Japanese", "http", "broken", "JA", "サーバーの応答は HTTP ステータス 500 でした"),
    ("https to http", "https", "to-http", "CA",
     "the server redirected from https to http, which is refused"),
    ("21 MiB", "http", "huge", "", "the calendar is larger than 20 MiB"),
    ("21 MiB in gzip", "http", "bomb", "", "the calendar is larger than 20 MiB"),
    ("a stalled answer", "http", "stall", "TIMEOUT",
     "the transfer did not end within 2 seconds (transfer timeout)"),
    ("headers that never end in time", "http", "drip", "TIMEOUT",
     "the transfer did not end within 2 seconds (transfer timeout)"),
    ("a certificate of another CA", "https", "calendar.ics", "OTHER", UNTRUSTED),
    ("a certificate the system does not trust", "https", "calendar.ics", "", UNTRUSTED),
]

# The rows over https the Windows program runs: it cannot be given the test
# CA, so it must refuse both.
WINDOWS_HTTPS = ("webcal is https", "a certificate the system does not trust")


def environment(settings, folder):
    env = {k: v for k, v in os.environ.items()
           if k.lower() not in ("http_proxy", "https_proxy", "all_proxy", "no_proxy")
           and not k.startswith("VORLINDE_")}
    env.update(LANG="ja_JP.UTF-8" if "JA" in settings else "C", LC_ALL="", LC_MESSAGES="")
    # Bounds every row; the stalled one is cut shorter still.
    env["VORLINDE_WEB_TIMEOUT"] = "2" if "TIMEOUT" in settings else "30"
    if "CA" in settings.split() or "OTHER" in settings:
        env["VORLINDE_CA_FILE"] = os.path.join(
            folder, "other-ca.pem" if "OTHER" in settings else "ca.pem")
    return env


def run(command, args, env, cwd=None):
    return subprocess.run([*command, *args], capture_output=True, timeout=120, env=env, cwd=cwd)


def masked(server, scheme):
    port = server.http_port if scheme == "http" else server.https_port
    return "%s://127.0.0.1:%d/..." % (scheme, port)


def shows_secret(*outputs):
    return any(SECRET.encode() in o or TOKEN.encode() in o for o in outputs)


def hung_up_in_time(server, drips):
    """Whether the client gave up on a drip answer's headers before they all
    came: waits (bounded) for the server to record the answer past `drips`,
    the count before the row."""
    for _ in range(int(DRIP_SECONDS + 5) * 10):
        if len(server.drips) > drips:
            return not server.drips[drips]
        time.sleep(0.1)
    return False


def check_rows(native, server, folder, from_file):
    problems = []
    for name, scheme, path, settings, says in ROWS:
        env = environment(settings, folder)
        output = os.path.join(tempfile.mkdtemp(dir=folder), "agenda.vrn")
        drips = len(server.drips)
        result = run(native, ["import", *OPTIONS, "--output", output,
                              server.address(scheme, path)], env)
        written = None
        if os.path.exists(output):
            with open(output, "rb") as f:
                written = f.read()
        left = os.listdir(os.path.dirname(output))
        got = "status %d, %s, stderr %r" % (result.returncode, left, result.stderr)
        shown = masked(server, scheme)
        address = server.address(scheme, path).encode()
        # The agenda file records the address whole, for refresh, and
        # nothing else shows it.
        recorded = (written or b"").replace(b"; source: " + address + b"\r\n", b"")
        if shows_secret(result.stdout, result.stderr, recorded):
            problems.append("%s: the secret path or query shows: %s" % (name, got))
        if path == "drip" and not hung_up_in_time(server, drips):
            problems.append("%s: waited for all the headers, past the time limit" % name)
        if says is OK:
            want = from_file.stdout.replace(b"; source: " + CALENDAR.encode() + b"\r\n",
                                            b"; source: " + address + b"\r\n")
            warnings = from_file.stderr.replace(CALENDAR.encode(), shown.encode())
            if result.returncode != 0 or written != want or result.stderr != warnings:
                problems.append("%s: want the file's agenda naming %s, got %s, %r"
                                % (name, shown, got, written))
        else:
            message = result.stderr.decode("utf-8", "replace")
            told = ("vorlinde-agenda: %s を取得できません：%s" if "JA" in settings
                    else "vorlinde-agenda: cannot fetch %s: %s") % (shown, says)
            if (result.returncode != 2 or left or result.stdout
                    or message.splitlines() != [told]):
                problems.append("%s: want status 2, nothing written and %r; got %s"
                                % (name, told, got))
    if any("via=https" in path for scheme, path, _ in server.requests if scheme == "http"):
        problems.append("https to http: the http address was asked for")
    for name in ("gzip.ics", "bomb"):
        if not any(compressed for _, path, compressed in server.requests if name in path):
            problems.append("%s: never asked for gzip, so never sent compressed" % name)
    return problems


def in_code_page(text):
    """`text` as a Windows program writes it to a pipe in code page 932."""
    return "".join(c if c.encode("cp932", "ignore") else "?" * (2 if ord(c) > 0xFFFF else 1)
                   for c in text)


def check_windows(native, windows, server, folder):
    """The rows over http as the Windows program runs them, in Japanese as
    under wine, against the native program's, and two over https, which it
    must refuse."""
    problems = []
    for name, scheme, path, settings, _ in ROWS:
        if scheme != "http" and name not in WINDOWS_HTTPS:
            continue
        settings = "JA " + settings.replace("OTHER", "").replace("CA", "")
        address = server.address(scheme, path)
        args = ["import", *OPTIONS, address]
        env = environment(settings, folder)
        drips = len(server.drips)
        want = run(native, args, env)
        # The native run's drip answer is recorded before the Windows run.
        if path == "drip":
            hung_up_in_time(server, drips)
            drips += 1
        got = run(windows, args, env)
        if got.returncode == 77:  # wine-run.sh: this machine has no such wine
            return None
        if path == "drip" and not hung_up_in_time(server, drips):
            problems.append("windows %s: waited for all the headers, past the time limit" % name)
        message = got.stderr.decode("cp932", "replace").replace("\r\n", "\n")
        if scheme == "http":
            # Whole lines: Wine may add lines of its own. What goes to a pipe
            # is in the code page, where a character it lacks is a "?" for
            # each UTF-16 unit.
            told = (set(in_code_page(want.stderr.decode("utf-8")).splitlines())
                    <= set(message.splitlines()))
        else:
            told = masked(server, scheme) in message
        if (got.returncode, got.stdout) != (want.returncode, want.stdout) or not told:
            problems.append("windows %s: want status %d, %d bytes, %r; got %d, %d bytes, %r"
                            % (name, want.returncode, len(want.stdout),
                               want.stderr.decode("utf-8"), got.returncode, len(got.stdout),
                               message))
        # The agenda records the address whole, for refresh; nothing else
        # shows it.
        recorded = got.stdout.replace(b"; source: " + address.encode() + b"\r\n", b"")
        if shows_secret(recorded, got.stderr):
            problems.append("windows %s: the secret path or query shows" % name)
    return problems


def main():
    native, windows = split_commands(sys.argv[1:], __doc__.strip().splitlines()[-1])
    from_file = run(native, ["import", *OPTIONS, CALENDAR], environment("", DATA), cwd=DATA)
    with tempfile.TemporaryDirectory() as folder:
        with CalendarServer(os.path.join(DATA, CALENDAR), folder) as server:
            if windows:
                problems = check_windows(native, windows, server, folder)
            else:
                problems = check_rows(native, server, folder, from_file)
    if problems is not None and from_file.returncode != 0:
        problems.append("import of %s from its file: status %d" % (CALENDAR, from_file.returncode))
    if windows:
        return report(problems, "vorlinde-agenda.exe: web imports as the native program's")
    return report(problems, "vorlinde-agenda: %d web imports as expected" % len(ROWS))


if __name__ == "__main__":
    sys.exit(main())
