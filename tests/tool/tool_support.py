"""What the tool test scripts share: their command lines and their report."""

import sys


def split_commands(args, usage):
    """COMMAND... [--windows WINDOWS-COMMAND...] as the native command and
    the Windows one (empty when not given); exits with the usage text when
    there is no native command."""
    command, windows = args, []
    if "--windows" in args:
        at = args.index("--windows")
        command, windows = args[:at], args[at + 1:]
    if not command:
        print(usage, file=sys.stderr)
        sys.exit(2)
    return command, windows


def windows_name(path):
    """An absolute Linux path as a Windows program under Wine opens it."""
    return "Z:" + path.replace("/", "\\")


SKIPPED = 77  # ctest's status for a test skipped: wine-run.sh gives it too


def report(problems, summary):
    """Prints each problem, or the summary when there is none; the status.
    No problems at all (None) is a Windows program this machine cannot run,
    which skips the test."""
    if problems is None:
        print("skipped: the Windows program cannot run here")
        return SKIPPED
    for problem in problems:
        print("FAIL: %s" % problem)
    if not problems:
        print(summary)
    return 1 if problems else 0
