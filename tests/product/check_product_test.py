#!/usr/bin/env python3
"""Shows that check_product.py catches a broken product file: each case
damages a copy of Vorlinde.dxl in one place and names the problem the check
must report. The intact file must pass.
Not covered: the intact file's own properties (check_product.py).

usage: check_product_test.py Vorlinde.dxl"""

import os
import struct
import sys
import tempfile
import unittest

import pefile

import check_product

PRODUCT = None  # the path given on the command line


def export_symbol(pe, name):
    for symbol in pe.DIRECTORY_ENTRY_EXPORT.symbols:
        if symbol.name == name.encode():
            return symbol
    raise AssertionError("the intact product has no export %s" % name)


def rename_export(old, new):
    def damage(pe, data):
        offset = export_symbol(pe, old).name_offset
        assert len(old) == len(new)
        data[offset:offset + len(new)] = new.encode()
    return damage


def shift_ordinal_base(pe, data):
    offset = pe.DIRECTORY_ENTRY_EXPORT.struct.get_field_absolute_offset("Base")
    base = struct.unpack_from("<I", data, offset)[0]
    struct.pack_into("<I", data, offset, base + 1)


def point_export_at(name, target):
    def damage(pe, data):
        address = export_symbol(pe, target).address
        struct.pack_into("<I", data, export_symbol(pe, name).address_offset, address)
    return damage


def point_group_at(names, target):
    def damage(pe, data):
        for name in names:
            point_export_at(name, target)(pe, data)
    return damage


def set_machine(pe, data):
    offset = pe.FILE_HEADER.get_field_absolute_offset("Machine")
    struct.pack_into("<H", data, offset, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"])


def clear_dll_flag(pe, data):
    offset = pe.FILE_HEADER.get_field_absolute_offset("Characteristics")
    flags = struct.unpack_from("<H", data, offset)[0]
    struct.pack_into("<H", data, offset, flags & ~pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"])


def rename_import(old, new):
    def damage(pe, data):
        for entry in pe.DIRECTORY_ENTRY_IMPORT:
            if entry.dll.upper() == old.encode():
                offset = pe.get_offset_from_rva(entry.struct.Name)
                data[offset:offset + len(new)] = new.encode()
                return
        raise AssertionError("the intact product imports nothing from %s" % old)
    return damage


def rename_imported_function(old, new):
    def damage(pe, data):
        for entry in pe.DIRECTORY_ENTRY_IMPORT:
            for function in entry.imports:
                if function.name == old.encode():
                    assert len(new) <= len(old)
                    offset = function.name_offset
                    data[offset:offset + len(old)] = new.encode().ljust(len(old), b"\0")
                    return
        raise AssertionError("the intact product does not import %s" % old)
    return damage


def pad_to(size):
    def damage(pe, data):
        data.extend(b"\0" * (size - len(data)))
    return damage


def add_symbol_table(pe, data):
    for field, value in (("PointerToSymbolTable", len(data)), ("NumberOfSymbols", 7)):
        offset = pe.FILE_HEADER.get_field_absolute_offset(field)
        struct.pack_into("<I", data, offset, value)
    data.extend(b"\0" * (18 * 7 + 4))


def rename_section(old, new):
    def damage(pe, data):
        for section in pe.sections:
            if section.Name.rstrip(b"\0") == old.encode():
                offset = section.get_field_absolute_offset("Name")
                data[offset:offset + 8] = new.encode().ljust(8, b"\0")
                return
        raise AssertionError("the intact product has no section %s" % old)
    return damage


# (what is damaged, how, a problem the check must report)
CASES = [
    ("an entry point's name", rename_export("Zoom", "Zoon"), "missing export Zoom"),
    ("an entry point's name", rename_export("Zoom", "Zoon"), "unexpected export Zoon"),
    ("the ordinal base", shift_ordinal_base, "CalcDefaultRect has ordinal 2, not 1"),
    ("one name of a shared routine", point_export_at("DrawChip", "GetTimerSpan"),
     "CalcDefaultRect, DrawChip, MouseClik lead to different routines"),
    ("both shared routines", point_group_at(["DoTimer", "GetSaveData", "Resize"], "CalcDefaultRect"),
     "the 'return 1' and 'return 0' names share a routine"),
    ("the machine", set_machine, "machine is 0x8664, not i386"),
    ("the DLL flag", clear_dll_flag, "not a DLL"),
    ("an imported DLL's name", rename_import("USER32.DLL", "USERXX.dll"),
     "imports from USERXX.DLL, which is not a system DLL"),
    ("the clock's width", rename_imported_function("_time64", "_time32"),
     "imports _time32, which keeps time in 32 bits"),
    ("the clock's width", rename_imported_function("_localtime64", "localtime"),
     "imports localtime, which keeps time in 32 bits"),
    ("the file's size", pad_to(32769), "is 32769 bytes, more than 32768"),
    ("the symbol table", add_symbol_table, "has a symbol table of 7 symbols"),
    ("a section's name", rename_section(".rdata", ".debug_i"), "has the debug section .debug_i"),
]


class CheckProductTest(unittest.TestCase):
    def test_the_intact_product_passes(self):
        self.assertEqual([], check_product.check(PRODUCT))

    def test_each_damage_is_reported(self):
        with open(PRODUCT, "rb") as f:
            intact = f.read()
        for what, damage, expected in CASES:
            with self.subTest(what=what, expected=expected):
                pe = pefile.PE(data=intact)
                data = bytearray(intact)
                damage(pe, data)
                pe.close()
                with tempfile.TemporaryDirectory() as scratch:
                    path = os.path.join(scratch, "Vorlinde.dxl")
                    with open(path, "wb") as f:
                        f.write(data)
                    problems = check_product.check(path)
                self.assertIn(expected, problems, "damaged %s" % what)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        sys.exit(2)
    PRODUCT = sys.argv.pop(1)
    unittest.main(verbosity=2)
