#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Lists every window text of ui/texts.h as a call lupdate recognises.

Usage: texts_for_lupdate.py ui/texts.h OUTPUT.cpp

Each constant's string (adjacent literals joined; each element of an array or
of a table of pairs on its own) becomes QT_TRANSLATE_NOOP("Kaleidomat", ...),
with the constant's name as the translator's comment. A text that several
constants share is listed once. The constants below are names, file-name
parts or the clipboard's format: the same in every language, never
translated.
"""
import re
import sys

CONTEXT = "Kaleidomat"
NOT_TRANSLATED = {
    "kAppTitle", "kClipboardFormatName", "kBuiltinPatternNames", "kSeparatorCaption", "kMenuPopup1",
    "kColorPrefix", "kPanel4Design", "kCaptionPrefix", "kCaptionSuffix", "kBoardExtension",
    "kPatternExtension", "kRleExtension", "kPlaintextExtension", "kExportNameSuffix", "kExportNameUnnamed",
    "kAboutCopyright", "kOpenClipboardFailed", "kGetClipboardDataFailed", "kGlobalSizeFailed",
    "kPointerXPrefix", "kPointerYPrefix", "kLanguageNames", "kNotFoundSuffix",
    "kMacrocellExtension", "kLife105Extension", "kLife106Extension", "kGzipExtension",
}

TOKEN = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:[^"\\\n]|\\.)*"|[A-Za-z_]\w*|\S', re.S)


def texts(source):
    """(name, text) for every translatable string, in the file's order."""
    tokens = [t for t in TOKEN.findall(source) if not t.startswith("//") and not t.startswith("/*")]
    found, name, depth, literal = [], None, 0, None
    for i, token in enumerate(tokens):
        if token.startswith('"'):
            literal = (literal or "") + token[1:-1]
            continue
        if literal is not None:
            if name and name not in NOT_TRANSLATED:
                found.append((name, literal))
            literal = None
        if token == "{":
            depth += 1
        elif token == "}":
            depth -= 1
        elif token == ";":
            name = None
        elif token == "=" and i > 0:
            # The constant's name stands before "=", or before "[...]" before it.
            j = i - 1
            while tokens[j] in ("]", "[") or tokens[j].isdigit():
                j -= 1
            name = tokens[j]
    return found


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        found = texts(f.read())
    names = {}
    for name, text in found:
        names.setdefault(text, []).append(name)
    with open(sys.argv[2], "w", encoding="utf-8") as out:
        out.write("// Generated from ui/texts.h by scripts/texts_for_lupdate.py, for lupdate only.\n")
        for text, users in names.items():
            out.write("//: %s\n" % ", ".join(dict.fromkeys(users)))
            out.write('QT_TRANSLATE_NOOP("%s", "%s");\n' % (CONTEXT, text))


if __name__ == "__main__":
    main()
