#!/usr/bin/env python3
"""vorlinde-agenda convert on one agenda text saved in each encoding today's
editors use, each result compared byte for byte with the Shift-JIS file a
user would have saved (tests/tool/convert/*.sjis); the copy of the original
kept beside it, and nothing half-written. Given a command that runs the
Windows program, holds vorlinde-agenda.exe to the same files and statuses,
and, in a console of its own with its input closed, it never waits for Enter.
Not covered: waiting for Enter in a console window of its own (the decision
is tools/programs/vorlinde_agenda/start_mode_test.cpp's), and messages in the
Windows console.

usage: check_convert.py COMMAND... [--windows WINDOWS-COMMAND...]"""

import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

from tool_support import report, split_commands, windows_name

HERE = os.path.dirname(os.path.abspath(__file__))
EXPECTED = os.path.join(HERE, "convert")

# The agenda as typed in an editor: U+301C and U+FF5E are the wave dash as
# editors on different systems write it, both 0x8160 in Shift-JIS; the yen
# sign is 0x5C.
TEXT = ("; 予定（UTF-8 で保存）\r\n"
        "2026/12/08 歯医者 10:00\r\n"
        "0000/12/24 クリスマス会\u301cケーキ\uff5e\r\n"
        "2026/12/31 大掃除 ①② ¥500\r\n")
EMOJI = "2026/12/08 誕生日🎂パーティー\r\n"
SHIFT_JIS = "2026/12/08 歯医者 10:00\r\n".encode("cp932")
NOT_TEXT = b"2026/12/08 \x80\x80\xfd\x00\x01\x02"

# Name, input bytes, options, status, expected file (None: left as it was),
# and the whole lines told on standard output and on standard error, {0}
# standing for the file's name.
CONVERTED = "{0}: converted from %s to Shift-JIS; the original is kept as {0}.bak"
NO_FORM = "{0}:1:15: warning: U+1F382 (🎂) has no Shift-JIS form"
CASES = [
    ("utf8", TEXT.encode("utf-8"), [], 0, "agenda.sjis", [CONVERTED % "UTF-8"], []),
    ("utf8-bom", b"\xef\xbb\xbf" + TEXT.encode("utf-8"), [], 0, "agenda.sjis",
     [CONVERTED % "UTF-8 (BOM)"], []),
    ("utf16le", TEXT.encode("utf-16"), [], 0, "agenda.sjis", [CONVERTED % "UTF-16LE"], []),
    ("utf16be", b"\xfe\xff" + TEXT.encode("utf-16-be"), [], 0, "agenda.sjis",
     [CONVERTED % "UTF-16BE"], []),
    ("utf8-lf", TEXT.replace("\r\n", "\n").encode("utf-8"), [], 0, "agenda-lf.sjis",
     [CONVERTED % "UTF-8"], []),
    ("utf8-no-last-break", TEXT[:-2].encode("utf-8"), [], 0, "agenda-no-last-break.sjis",
     [CONVERTED % "UTF-8"], []),
    ("shift-jis", SHIFT_JIS, [], 0, None, ["{0}: note: already Shift-JIS; left as it is"], []),
    ("not-text", NOT_TEXT, [], 2, None, [],
     ["{0}: error: neither UTF-8, UTF-16 nor Shift-JIS text; left as it is"]),
    ("emoji", EMOJI.encode("utf-8"), [], 1, None,
     [NO_FORM, "{0}: left as it is; change those characters, or convert with --substitute to "
      "write 〓 for them"], []),
    ("emoji-substituted", EMOJI.encode("utf-8"), ["--substitute"], 0, "emoji.sjis",
     [NO_FORM + "; written as 〓", CONVERTED % "UTF-8"], []),
]


def run(command, args, cwd):
    env = dict(os.environ, LC_ALL="C")
    return subprocess.run(command + args, capture_output=True, timeout=60, cwd=cwd, env=env,
                          stdin=subprocess.DEVNULL)


def read(path):
    """The file's bytes, or None when there is none."""
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def check(command, name_of, messages=True):
    """name_of(path) is how the program is told of a file; `messages`: whether
    its messages are in English (the Windows program writes Japanese in the
    console's code page under Wine)."""
    problems = []
    work = tempfile.mkdtemp(prefix="convert-")
    try:
        for name, data, options, status, expected, *told in CASES:
            path = os.path.join(work, name + ".txt")
            write(path, data)
            result = run(command, ["convert"] + options + [name_of(path)], work)
            want = read(os.path.join(EXPECTED, expected)) if expected else data
            got = read(path)
            backup = os.path.exists(path + ".bak")
            want_told = [[line.format(path) for line in lines] for lines in told]
            got_told = [output.decode("utf-8", "replace").splitlines()
                        for output in (result.stdout, result.stderr)]
            if (result.returncode != status or got != want or backup != bool(expected)
                    or (messages and got_told != want_told)):
                problems.append("%s: want status %d, %s, a copy %s and %r; got %d, %r, %s, %r"
                                % (name, status, expected or "unchanged",
                                   "kept" if expected else "not made", want_told,
                                   result.returncode, got, backup, got_told))
            elif expected and read(path + ".bak") != data:
                problems.append("%s: the copy does not hold the original" % name)
            elif expected:
                # Converted, it reads as a Shift-JIS file written by hand.
                checked = run(command, ["check", name_of(path)], work)
                if checked.returncode != 0 or checked.stdout:
                    problems.append("%s: check after convert: %s" % (name, checked.stdout))

        # An existing copy is never overwritten; no temporary file stays.
        path = os.path.join(work, "utf8.txt")
        write(path, TEXT.encode("utf-8"))
        run(command, ["convert", name_of(path)], work)
        if read(path + ".bak") != TEXT.encode("utf-8") or not os.path.exists(
                os.path.join(work, "utf8.txt.1.bak")):
            problems.append("a second conversion overwrote the first copy")
        if any(f.endswith(".writing") for f in os.listdir(work)):
            problems.append("a temporary file stayed: %s" % os.listdir(work))
        # A file that cannot be written leaves nothing behind.
        write(path, TEXT.encode("utf-8"))
        missing = os.path.join(work, "no-such-folder", "out.txt")
        result = run(command, ["convert", "--output", name_of(missing), name_of(path)], work)
        if (result.returncode != 2 or os.path.exists(os.path.dirname(missing))
                or read(path) != TEXT.encode("utf-8")):
            problems.append("writing into a missing folder: want status 2, got %d"
                            % result.returncode)

    finally:
        shutil.rmtree(work, ignore_errors=True)
    return problems


def check_never_waits(windows, name_of):
    """The Windows program in a console of its own (a terminal under Wine,
    where it is the console's one process) with its input closed, as a task
    or a shortcut may start it: it must not ask for Enter, with or without
    files. Natively there is no console to own, so only the Windows program
    is held to this."""
    problems = []
    work = tempfile.mkdtemp(prefix="never-waits-")
    try:
        path = os.path.join(work, "agenda.txt")
        write(path, SHIFT_JIS)
        # Without arguments it explains itself, which it does only in a
        # console of its own; with a file it shows the file's week.
        for args, shows in (([], b"vorlinde-agenda"), ([name_of(path)], b"\n")):
            # wine-run.sh closes the program's input; `script` gives it a
            # terminal for its console.
            line = " ".join(shlex.quote(a) for a in windows + args)
            try:
                result = subprocess.run(["script", "-qec", line, "/dev/null"], capture_output=True,
                                        timeout=120, stdin=subprocess.DEVNULL, cwd=work)
            except subprocess.TimeoutExpired:
                problems.append("%s: still waiting after 120 s with input closed" % args)
                continue
            shown = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", result.stdout)
            if result.returncode == 77:
                return None
            if b"Enter" in shown or shows not in shown:
                problems.append("%s in a console of its own, input closed: status %d, %r"
                                % (args, result.returncode, shown[-200:]))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return problems


def main():
    command, windows = split_commands(sys.argv[1:], __doc__)
    problems = check(command, lambda path: path)
    if windows:
        problems += ["windows " + p for p in check(windows, windows_name, messages=False)]
        waits = check_never_waits(windows, windows_name)
        problems = None if waits is None else problems + ["windows " + p for p in waits]
    return report(problems, "vorlinde-agenda%s convert: %d encodings as expected"
                  % (" and .exe" if windows else "", len(CASES)))


if __name__ == "__main__":
    sys.exit(main())
