#!/usr/bin/env python3
"""Checks the resources of the product file Vorlinde.dxl byte by byte: the
About dialog template and the version information, read with our own small
parsers of the two binary formats (pefile only finds the resource data).
Not covered: how Windows shows the dialog (the wine suites)."""

import struct
import sys

import pefile

RT_DIALOG = 5
RT_VERSION = 16
JAPANESE = 0x0411

IDD_ABOUT = 102
BUTTON_ATOM = 0x0080
STATIC_ATOM = 0x0082

# The About dialog as its template must hold it.
DIALOG = {
    "style": 0x80C800C0,
    "exStyle": 0,
    "x": 0, "y": 0, "cx": 187, "cy": 139,
    "menu": None,
    "class": None,
    "caption": "About Vorlinde.dxl",
    "pointSize": 9,
    "font": "ＭＳ Ｐゴシック",
}
DESCRIPTION = (
    "小片に書かれた指定ファイルから、本日分のデータを取得して表示します。"
    "ファイルのフォーマットは以下の通り。\n\n1998/04/01 エイプリル・フール\n\n"
    "年に 0000 は毎年。 月に 00 は毎月。 日に 00 は毎日。\n"
    "先頭の;はコメント扱い。詳しくは、sample.vrnを見てね。")
NOTICE = "作成: Vorlinde プロジェクト\nCopyright (C) 2026 the Vorlinde project"
# (id, x, y, cx, cy, style, class atom, text), in template order.
CONTROLS = [
    (1, 70, 118, 50, 14, 0x50010001, BUTTON_ATOM, "OK"),
    (-1, 7, 7, 173, 8, 0x50020001, STATIC_ATOM,
     "Kelvane 小片描画拡張ライブラリィ － 簡易Vorlinde"),
    (-1, 7, 44, 173, 66, 0x50021000, STATIC_ATOM, DESCRIPTION),
    (-1, 7, 21, 173, 16, 0x50020002, STATIC_ATOM, NOTICE),
]

VS_FFI_SIGNATURE = 0xFEEF04BD
# The plug-in's version: it stays 1.0.0.2 whatever the release archive is
# numbered, so it is written here rather than taken from the build.
VERSION = (1, 0, 0, 2)


def version_words():
    major, minor, patch, build = VERSION
    return (major << 16 | minor, patch << 16 | build)


def version_text():
    return ", ".join(str(part) for part in VERSION)


# Values written as functions depend on the version number.
FIXED_INFO = {
    "fileVersion": version_words,
    "productVersion": version_words,
    "fileFlagsMask": 0x3F,
    "fileFlags": 0,
    "fileOS": 0x40004,
    "fileType": 2,  # a DLL
    "fileSubtype": 0,
    "fileDate": (0, 0),
}
STRING_BLOCK = "041104b0"
STRINGS = [
    ("Comments", ""),
    ("CompanyName", "the Vorlinde project"),
    ("FileDescription", "Kelvane描画拡張ライブラリィ"),
    ("FileVersion", version_text),
    ("InternalName", "Vorlinde"),
    ("LegalCopyright", "Copyright (C) 2026 the Vorlinde project"),
    ("LegalTrademarks", ""),
    ("OriginalFilename", "Vorlinde.dxl"),
    ("PrivateBuild", ""),
    ("ProductName", "Vorlinde Draw eXtend Library"),
    ("ProductVersion", version_text),
    ("SpecialBuild", ""),
]
TRANSLATION = struct.pack("<HH", 0x0411, 0x04B0)


class Reader:
    """Little-endian reads from a resource's bytes, offsets from its start."""

    def __init__(self, data, offset=0):
        self.data = data
        self.offset = offset

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.offset)
        self.offset += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def align(self):
        self.offset = (self.offset + 3) & ~3

    def wide_string(self):
        end = self.offset
        while struct.unpack_from("<H", self.data, end)[0] != 0:
            end += 2
        text = self.data[self.offset:end].decode("utf-16-le")
        self.offset = end + 2
        return text

    def name_or_ordinal(self):
        """None for no name, an int for an ordinal, else the UTF-16 name."""
        first = struct.unpack_from("<H", self.data, self.offset)[0]
        if first == 0x0000:
            self.offset += 2
            return None
        if first == 0xFFFF:
            self.offset += 2
            return self.take("H")
        return self.wide_string()


def parse_dialog(data):
    r = Reader(data)
    dialog = {}
    dialog["style"], dialog["exStyle"], count = r.take("IIH")
    dialog["x"], dialog["y"], dialog["cx"], dialog["cy"] = r.take("hhhh")
    if dialog["style"] >> 16 == 0xFFFF:
        raise ValueError("an extended template, not the standard form")
    dialog["menu"] = r.name_or_ordinal()
    dialog["class"] = r.name_or_ordinal()
    dialog["caption"] = r.wide_string()
    dialog["pointSize"], dialog["font"] = None, None
    if dialog["style"] & 0x40:  # DS_SETFONT
        dialog["pointSize"] = r.take("H")
        dialog["font"] = r.wide_string()
    controls = []
    for _ in range(count):
        r.align()
        style, ex_style = r.take("II")
        x, y, cx, cy, control_id = r.take("hhhhh")
        class_ = r.name_or_ordinal()
        text = r.name_or_ordinal()
        extra = r.take("H")
        r.offset += extra
        controls.append({"id": control_id, "x": x, "y": y, "cx": cx, "cy": cy, "style": style,
                         "exStyle": ex_style, "class": class_, "text": text})
    dialog["controls"] = controls
    dialog["trailing"] = len(data) - r.offset
    return dialog


def parse_version_node(data, offset):
    """One node of the version information tree: its key, value bytes (or
    text, for a text value) and children."""
    r = Reader(data, offset)
    length, value_length, value_type = r.take("HHH")
    key = r.wide_string()
    r.align()
    if value_type == 1:
        raw = data[r.offset:r.offset + 2 * value_length]
        r.offset += 2 * value_length
        text = raw.decode("utf-16-le")
        # The count includes the terminating NUL; an empty value may have none.
        if text and not text.endswith("\0"):
            raise ValueError("version string %s has no terminating NUL" % key)
        value = text[:-1] if text else ""
    else:
        value = data[r.offset:r.offset + value_length]
        r.offset += value_length
    end = offset + length
    children = []
    r.align()
    while r.offset < end:
        child, r.offset = parse_version_node(data, r.offset)
        children.append(child)
        r.align()
    if r.offset > (end + 3) & ~3:
        raise ValueError("version node %s overruns its length" % key)
    return {"key": key, "type": value_type, "value": value, "children": children}, end


def parse_fixed_info(value):
    fields = struct.unpack("<13I", value)
    return fields[0], {
        "fileVersion": (fields[2], fields[3]),
        "productVersion": (fields[4], fields[5]),
        "fileFlagsMask": fields[6],
        "fileFlags": fields[7],
        "fileOS": fields[8],
        "fileType": fields[9],
        "fileSubtype": fields[10],
        "fileDate": (fields[11], fields[12]),
    }


def show(value):
    return repr(value) if not isinstance(value, int) else "0x%X" % value


def compare(problems, what, expected, actual):
    if expected != actual:
        problems.append("%s: expected %s, got %s" % (what, show(expected), show(actual)))


def resource_entries(pe, type_id):
    """{(id, language): bytes} of one resource type."""
    found = {}
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return found
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if type_entry.id != type_id:
            continue
        for name_entry in type_entry.directory.entries:
            for language_entry in name_entry.directory.entries:
                entry = language_entry.data.struct
                found[(name_entry.id, language_entry.id)] = pe.get_data(entry.OffsetToData,
                                                                        entry.Size)
    return found


def check_dialog(pe, problems):
    dialogs = resource_entries(pe, RT_DIALOG)
    compare(problems, "dialog resources (id, language)", [(IDD_ABOUT, JAPANESE)],
            sorted(dialogs))
    data = dialogs.get((IDD_ABOUT, JAPANESE))
    if data is None:
        return
    dialog = parse_dialog(data)
    for field, expected in DIALOG.items():
        compare(problems, "dialog %s" % field, expected, dialog[field])
    compare(problems, "dialog control count", len(CONTROLS), len(dialog["controls"]))
    for index, (expected, actual) in enumerate(zip(CONTROLS, dialog["controls"])):
        control_id, x, y, cx, cy, style, class_, text = expected
        what = "control %d (%r)" % (index, text[:12])
        compare(problems, what + " id", control_id, actual["id"])
        compare(problems, what + " position", (x, y), (actual["x"], actual["y"]))
        compare(problems, what + " size", (cx, cy), (actual["cx"], actual["cy"]))
        compare(problems, what + " style", style, actual["style"])
        compare(problems, what + " extended style", 0, actual["exStyle"])
        compare(problems, what + " class", class_, actual["class"])
        compare(problems, what + " text", text, actual["text"])
    compare(problems, "bytes after the last control", True, 0 <= dialog["trailing"] < 4)


def resolved(value):
    return value() if callable(value) else value


def check_version(pe, problems):
    versions = resource_entries(pe, RT_VERSION)
    compare(problems, "version resources (id, language)", [(1, JAPANESE)], sorted(versions))
    data = versions.get((1, JAPANESE))
    if data is None:
        return
    root, _ = parse_version_node(data, 0)
    compare(problems, "version root key", "VS_VERSION_INFO", root["key"])
    if len(root["value"]) != 52:
        problems.append("fixed version info is %d bytes, not 52" % len(root["value"]))
        return
    signature, fixed = parse_fixed_info(root["value"])
    compare(problems, "fixed version info signature", VS_FFI_SIGNATURE, signature)
    for field, expected in FIXED_INFO.items():
        compare(problems, "fixed version info %s" % field, resolved(expected), fixed[field])

    compare(problems, "version blocks", ["StringFileInfo", "VarFileInfo"],
            [child["key"] for child in root["children"]])
    for block in root["children"]:
        if block["key"] == "StringFileInfo":
            compare(problems, "string tables", [STRING_BLOCK],
                    [table["key"] for table in block["children"]])
            for table in block["children"][:1]:
                compare(problems, "strings (key, value) in order",
                        [(key, resolved(value)) for key, value in STRINGS],
                        [(string["key"], string["value"]) for string in table["children"]])
                for string in table["children"]:
                    compare(problems, "%s value type" % string["key"], 1, string["type"])
        elif block["key"] == "VarFileInfo":
            compare(problems, "VarFileInfo entries", ["Translation"],
                    [var["key"] for var in block["children"]])
            for var in block["children"][:1]:
                compare(problems, "Translation", TRANSLATION, var["value"])


def check(path):
    problems = []
    pe = pefile.PE(path)
    check_dialog(pe, problems)
    check_version(pe, problems)
    return problems


def main():
    if len(sys.argv) != 2:
        print("usage: check_resources.py Vorlinde.dxl", file=sys.stderr)
        return 2
    problems = check(sys.argv[1])
    for problem in problems:
        print("FAIL: %s" % problem)
    if not problems:
        print("%s: About dialog and version information as expected" % sys.argv[1])
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
