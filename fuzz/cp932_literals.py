#!/usr/bin/env python3
"""Copies a UTF-8 C++ source, writing every non-ASCII character inside a
string or character literal as the \\x escapes of its CP932 bytes.

The module's sources are compiled with -fexec-charset=CP932, which clang
does not have; the fuzz build compiles these copies instead, so its module
holds the same Shift-JIS texts as the product. Comments and code outside
literals are copied unchanged. C++14 digit separators are not handled.

usage: cp932_literals.py SOURCE OUTPUT
"""
import os
import sys

HEX_DIGITS = "0123456789abcdefABCDEF"


def escaped(character, following):
    text = "".join("\\x%02X" % byte for byte in character.encode("cp932"))
    # A hex escape would swallow a hex digit that follows it: end the literal
    # there and let the next one continue it.
    if following != "" and following in HEX_DIGITS:
        text += '" "'
    return text


def convert(source):
    out = []
    i = 0
    n = len(source)
    while i < n:
        c = source[i]
        if source.startswith("//", i):
            end = source.find("\n", i)
            end = n if end < 0 else end
            out.append(source[i:end])
            i = end
        elif source.startswith("/*", i):
            end = source.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(source[i:end])
            i = end
        elif c == '"' and i > 0 and source[i - 1] == "R":
            raise SystemExit("raw string literals are not handled")
        elif c in "\"'":
            out.append(c)
            i += 1
            while i < n and source[i] != c:
                if source[i] == "\\":
                    out.append(source[i:i + 2])
                    i += 2
                    continue
                if source[i] == "\n":
                    raise SystemExit("unterminated literal")
                if ord(source[i]) > 0x7F:
                    if c == "'":
                        raise SystemExit("non-ASCII character literal")
                    out.append(escaped(source[i], source[i + 1:i + 2]))
                else:
                    out.append(source[i])
                i += 1
            out.append(c)
            i += 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as f:
        text = convert(f.read())
    os.makedirs(os.path.dirname(os.path.abspath(sys.argv[2])), exist_ok=True)
    with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
