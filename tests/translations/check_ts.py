#!/usr/bin/env python3
"""Checks a translation of the editor's user interface.

Usage: check_ts.py LUPDATE TS_FILE SOURCE...

lupdate merges the texts of the sources into a copy of TS_FILE (the file itself is left as
it is), so a text added to the sources without a translation is found as well as one left
unfinished in the file. Every message must then have a finished translation that keeps the
source's arguments (%1...), its shortcut after a tab, its line breaks and its mnemonic; an
English translation has no Japanese character left. A Japanese string literal of the sources
that is no message (a text shown without tr()) is a problem too, except the font names in
NOT_SHOWN.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

JAPANESE = re.compile(
    "[\u3000-\u303f\u3040-\u309f\u30a0-\u30ff\u4e00-\u9fff\uff01-\uff9f]")
ARGUMENT = re.compile(r"%(\d+)")
MNEMONIC = re.compile(r"&(?!&)")
# Japanese literals that name something rather than show it.
NOT_SHOWN = {"ＭＳ Ｐゴシック"}
TOKEN = re.compile(r"""//[^\n]*|/\*.*?\*/|R"\((?:.|\n)*?\)"|"(?:[^"\\\n]|\\.)*"|'(?:[^'\\\n]|\\.)*'|\s+|.""",
                   re.S)
ESCAPES = {"n": "\n", "t": "\t", "\"": "\"", "\\": "\\", "'": "'", "r": "\r"}


def literals_of(path):
    """The string literals of a C++ file, adjacent ones joined, with their line numbers."""
    with open(path, encoding="utf-8") as f:
        code = f.read()
    found, current, line, at = [], None, 1, 1
    for token in TOKEN.finditer(code):
        text = token.group(0)
        if text.startswith('"'):
            body = re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(1)), text[1:-1])
            if current is None:
                current, at = body, line
            else:
                current += body
        elif not (text.isspace() or text.startswith("//") or text.startswith("/*")):
            if current is not None:
                found.append((at, current))
                current = None
        line += text.count("\n")
    if current is not None:
        found.append((at, current))
    return found


def untranslated_literals(tree, sources):
    messages = {m.findtext("source") or "" for m in tree.getroot().iter("message")}
    found = []
    for path in sources:
        for line, text in literals_of(path):
            if JAPANESE.search(text) and text not in messages and text not in NOT_SHOWN:
                found.append("%s:%d: shown without translation: %r" % (path, line, text))
    return found


def problems_of(tree, language):
    found = []
    for context in tree.getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            where = "%s: %r" % (name, source)
            kind = translation.get("type") if translation is not None else "missing"
            if translation is None or kind in ("unfinished", "vanished", "obsolete"):
                found.append("%s: translation %s" % (where, kind))
                continue
            text = translation.text or ""
            if not text:
                found.append("%s: empty translation" % where)
                continue
            if sorted(ARGUMENT.findall(source)) != sorted(ARGUMENT.findall(text)):
                found.append("%s: arguments differ in %r" % (where, text))
            if "\t" in source and source.split("\t", 1)[1] != text.split("\t", 1)[-1]:
                found.append("%s: shortcut differs in %r" % (where, text))
            if source.count("\n") != text.count("\n"):
                found.append("%s: line breaks differ in %r" % (where, text))
            if len(MNEMONIC.findall(source)) != len(MNEMONIC.findall(text)):
                found.append("%s: mnemonic differs in %r" % (where, text))
            if language.startswith("en") and JAPANESE.search(text):
                found.append("%s: Japanese left in %r" % (where, text))
    return found


def main():
    lupdate, ts_file, sources = sys.argv[1], sys.argv[2], sys.argv[3:]
    with tempfile.TemporaryDirectory() as folder:
        copy = os.path.join(folder, os.path.basename(ts_file))
        shutil.copyfile(ts_file, copy)
        run = subprocess.run([lupdate, "-silent", "-locations", "none", "-no-obsolete"] +
                             sources + ["-ts", copy], capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout + run.stderr)
            print("lupdate failed")
            return 1
        tree = ET.parse(copy)
    language = tree.getroot().get("language") or ""
    count = sum(1 for _ in tree.getroot().iter("message"))
    found = problems_of(tree, language) + untranslated_literals(tree, sources)
    for problem in found:
        print(problem)
    print("%s: %d messages, %d problems" % (os.path.basename(ts_file), count, len(found)))
    return 1 if found or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
