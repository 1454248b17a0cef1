#!/usr/bin/env python3
"""Checks the product file Vorlinde.dxl as Windows and the memo application
will meet it, and as users install it: a 32-bit DLL that exports the entry
points by name under their ordinals, needs no DLL beyond the system's, keeps
time with the C runtime's 64-bit functions, and is small and stripped.
Not covered: the resources' bytes (check_resources.py), the module's behaviour."""

import os
import sys

import pefile

# Every entry point, numbered in the alphabetical order of the names.
ALL_ENTRY_POINTS = sorted([
    "CalcDefaultRect", "DoDrawExMenu", "DoTimer", "DrawChip", "DrawExAbout",
    "DrawExConfigure", "DrawExSpecification", "EditHelper", "ExchangeSendString",
    "GetDrawExMenu", "GetMemoString", "GetSaveData", "GetTimerSpan", "InitializeChip",
    "MouseClik", "Resize", "UnInitializeChip", "Update", "Zoom",
])
ORDINALS = {name: i + 1 for i, name in enumerate(ALL_ENTRY_POINTS)}

# The entry points the module has so far.
BUILT = set(ALL_ENTRY_POINTS) - {
    "DoDrawExMenu", "DrawExAbout", "DrawExConfigure",
    "GetDrawExMenu",
}
# The day menu, the About dialog and the configure notice.
BUILT |= {"DoDrawExMenu", "DrawExAbout", "DrawExConfigure", "GetDrawExMenu"}

# Names that lead to one routine each.
SHARED_ROUTINES = [("CalcDefaultRect", "DrawChip", "MouseClik"), ("DoTimer", "GetSaveData", "Resize")]

SYSTEM_DLLS = {"KERNEL32.DLL", "USER32.DLL", "COMDLG32.DLL", "MSVCRT.DLL"}

# The C runtime's functions that keep time in 32 bits, which stop converting
# in 2038.
TIME_32_FUNCTIONS = {"time", "localtime", "mktime", "gmtime", "_time32", "_localtime32",
                     "_mktime32"}

# What the release file may weigh at most.
SIZE_LIMIT = 32768


def check(path):
    problems = []
    pe = pefile.PE(path)
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        problems.append("machine is 0x%04x, not i386" % pe.FILE_HEADER.Machine)
    if not pe.is_dll():
        problems.append("not a DLL")

    exports = {}
    if hasattr(pe, "DIRECTORY_ENTRY_EXPORT"):
        for symbol in pe.DIRECTORY_ENTRY_EXPORT.symbols:
            name = symbol.name.decode() if symbol.name else None
            if name is None:
                problems.append("ordinal %d exported without a name" % symbol.ordinal)
                continue
            exports[name] = (symbol.ordinal, symbol.address)
    for name in sorted(BUILT - exports.keys()):
        problems.append("missing export %s" % name)
    for name in sorted(exports.keys() - BUILT):
        problems.append("unexpected export %s" % name)
    for name, (ordinal, _) in sorted(exports.items()):
        if name in ORDINALS and ordinal != ORDINALS[name]:
            problems.append("%s has ordinal %d, not %d" % (name, ordinal, ORDINALS[name]))
    addresses = {}
    for group in SHARED_ROUTINES:
        found = {exports[name][1] for name in group if name in exports}
        if len(found) > 1:
            problems.append("%s lead to different routines" % ", ".join(group))
        addresses[group] = found
    if len(addresses) == 2 and addresses[SHARED_ROUTINES[0]] & addresses[SHARED_ROUTINES[1]]:
        problems.append("the 'return 1' and 'return 0' names share a routine")

    imported = set()
    if hasattr(pe, "DIRECTORY_ENTRY_IMPORT"):
        imported = {entry.dll.decode().upper() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    for dll in sorted(imported - SYSTEM_DLLS):
        problems.append("imports from %s, which is not a system DLL" % dll)
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        for function in entry.imports:
            name = function.name.decode() if function.name else None
            if name in TIME_32_FUNCTIONS:
                problems.append("imports %s, which keeps time in 32 bits" % name)

    size = os.path.getsize(path)
    if size > SIZE_LIMIT:
        problems.append("is %d bytes, more than %d" % (size, SIZE_LIMIT))
    if pe.FILE_HEADER.PointerToSymbolTable or pe.FILE_HEADER.NumberOfSymbols:
        problems.append("has a symbol table of %d symbols" % pe.FILE_HEADER.NumberOfSymbols)
    for section in pe.sections:
        name = section_name(pe, section)
        if name.startswith(".debug"):
            problems.append("has the debug section %s" % name)
    return problems


def section_name(pe, section):
    """A section's name; a long name ("/4") stands in the string table behind
    the symbol table, where the linker puts debug sections' names."""
    name = section.Name.rstrip(b"\0").decode(errors="replace")
    if not name.startswith("/") or not name[1:].isdigit():
        return name
    table = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
    data = pe.__data__
    start = table + int(name[1:])
    if not pe.FILE_HEADER.PointerToSymbolTable or start >= len(data):
        return name
    end = data.find(b"\0", start)
    return data[start:end].decode(errors="replace")


def main():
    if len(sys.argv) != 2:
        print("usage: check_product.py Vorlinde.dxl", file=sys.stderr)
        return 2
    problems = check(sys.argv[1])
    for problem in problems:
        print("FAIL: %s" % problem)
    if not problems:
        print("%s: i386 DLL of %d bytes, stripped, exports and imports as expected"
              % (sys.argv[1], os.path.getsize(sys.argv[1])))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
