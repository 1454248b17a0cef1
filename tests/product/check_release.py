#!/usr/bin/env python3
"""Checks the release archive as someone installing the plug-in gets it: one
folder named like the archive, holding exactly the product, the agenda tool
and the program its daily refresh task runs as built, the zone folder the tool
reads time zones from, libical's licence texts, the sample agenda file as kept
in the tree, Japan's holidays and the Japanese almanac of the release's year
and the ten after it as the native vorlinde-agenda makes them and finds
clean, and a readme that a
Japanese Windows shows as it is (Shift-JIS, CR LF), in Japanese and English.
The agenda tool must be a 32-bit Windows console program, the refresh task's
program a 32-bit Windows GUI program (which opens no console window), both
needing no DLL beyond the system's.
Not covered: the product file's exports and imports (check_product.py), what
the zones say (the wine tests import through them).

usage: check_release.py Vorlinde-VERSION.zip Vorlinde.dxl vorlinde-agenda.exe
                        vorlinde-agenda-task.exe sample.vrn NATIVE-VORLINDE-AGENDA YEAR"""

import os
import subprocess
import sys
import tempfile
import zipfile

import pefile

# The DLLs every Windows has; SHELL32 splits the program's UTF-16 command
# line (CommandLineToArgvW).
SYSTEM_DLLS = {"KERNEL32.DLL", "USER32.DLL", "COMDLG32.DLL", "MSVCRT.DLL", "WINHTTP.DLL",
               "SHELL32.DLL"}
CONSOLE, GUI = 3, 2  # PE subsystems: WINDOWS_CUI, WINDOWS_GUI


def check_tool(name, content, subsystem):
    problems = []
    pe = pefile.PE(data=content)
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        problems.append("%s: machine is 0x%04x, not i386" % (name, pe.FILE_HEADER.Machine))
    if not pe.is_exe() or pe.OPTIONAL_HEADER.Subsystem != subsystem:
        kind = "console" if subsystem == CONSOLE else "GUI"
        problems.append("%s is not a %s program" % (name, kind))
    imported = {entry.dll.decode().upper() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
    for dll in sorted(imported - SYSTEM_DLLS):
        problems.append("%s imports from %s, which is not a system DLL" % (name, dll))
    return problems


def made_agenda(native, subcommand, year):
    """The agenda of the release's year and the ten after it that a
    subcommand (holidays, almanac) writes, which the archive must hold, and
    what check says of it."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "made.vrn")
        subprocess.run([native, subcommand, "--from", year, "--until", str(int(year) + 10),
                        "--output", path], check=True, timeout=60)
        checked = subprocess.run([native, "check", path], capture_output=True, timeout=60)
        with open(path, "rb") as f:
            return f.read(), checked.returncode, checked.stdout


def check(archive, product, tool, task, sample, native, year):
    problems = []
    folder = os.path.basename(archive)[:-len(".zip")]
    with open(product, "rb") as f:
        product_bytes = f.read()
    with open(tool, "rb") as f:
        tool_bytes = f.read()
    with open(task, "rb") as f:
        task_bytes = f.read()
    with open(sample, "rb") as f:
        sample_bytes = f.read()
    expected = {
        folder + "/Vorlinde.dxl": product_bytes,
        folder + "/vorlinde-agenda.exe": tool_bytes,
        folder + "/vorlinde-agenda-task.exe": task_bytes,
        folder + "/sample.vrn": sample_bytes,
        folder + "/holidays-jp.vrn": None,
        folder + "/almanac-jp.vrn": None,
        folder + "/readme.txt": None,
    }
    with zipfile.ZipFile(archive) as z:
        files = {name: z.read(name) for name in z.namelist() if not name.endswith("/")}
    for name in sorted(expected.keys() - files.keys()):
        problems.append("missing %s" % name)
    zones = folder + "/zoneinfo/"
    table = files.get(zones + "zones.tab", b"").decode("ascii", "replace").split()[2::3]
    if "America/New_York" not in table or "Asia/Tokyo" not in table:
        problems.append("zoneinfo/zones.tab lacks America/New_York or Asia/Tokyo")
    for zone in table:
        if zones + zone + ".ics" not in files:
            problems.append("zoneinfo/zones.tab names %s, which is not in the archive" % zone)
    expected.update({name: None for name in files if name.startswith(zones)})
    for licence in ("LICENSE", "LICENSE.MPL2.txt", "LICENSE.LGPL21.txt"):
        expected[folder + "/libical/" + licence] = None
    if b"Mozilla Public License" not in files.get(folder + "/libical/LICENSE", b""):
        problems.append("libical/LICENSE does not name the licences")
    for name in sorted(files.keys() - expected.keys()):
        problems.append("unexpected %s" % name)
    for name, content in expected.items():
        if content is not None and name in files and files[name] != content:
            problems.append("%s differs from the file it was made from" % name)
    for name, subsystem in (("vorlinde-agenda.exe", CONSOLE), ("vorlinde-agenda-task.exe", GUI)):
        if folder + "/" + name in files:
            problems += check_tool(name, files[folder + "/" + name], subsystem)

    for subcommand, name in (("holidays", "holidays-jp.vrn"), ("almanac", "almanac-jp.vrn")):
        made, status, found = made_agenda(native, subcommand, year)
        if files.get(folder + "/" + name) != made or status != 0 or found:
            problems.append("%s is not the %s of %s to %d, or check finds %r"
                            % (name, subcommand, year, int(year) + 10, found))


    readme = files.get(folder + "/readme.txt")
    if readme is not None:
        try:
            text = readme.decode("cp932")
        except UnicodeDecodeError as error:
            problems.append("readme.txt is not Shift-JIS: %s" % error)
            text = ""
        if readme.replace(b"\r\n", b"").count(b"\n") or readme.replace(b"\r\n", b"").count(b"\r"):
            problems.append("readme.txt has line ends other than CR LF")
        for needed in ("Vorlinde.dxl", "インストール", "Installing",
                       "vorlinde-agenda.exe check", "show --days 7", "ANSI",
                       "vorlinde-agenda.exe import", "vorlinde-agenda.exe export",
                       "vorlinde-agenda.exe expand", "FREQ=WEEKLY;BYDAY=MO,TH", "libical",
                       "holidays-jp.vrn", "almanac-jp.vrn", "refresh --schedule", "webcal://", ".url",
                       "vorlinde-agenda-task.exe"):
            if needed not in text:
                problems.append("readme.txt does not mention %s" % needed)
    return problems


def main():
    if len(sys.argv) != 8:
        print("\n".join(__doc__.strip().splitlines()[-2:]), file=sys.stderr)
        return 2
    problems = check(*sys.argv[1:])
    for problem in problems:
        print("FAIL: %s" % problem)
    if not problems:
        print("%s: product, sample and readme as expected" % sys.argv[1])
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
