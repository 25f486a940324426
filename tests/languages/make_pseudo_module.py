#!/usr/bin/env python3
"""Builds the source folder of a pseudo language from a language folder.

Every text a user reads is wrapped as ⟦…⟧: the string table's texts, the
menus' texts and the dialogs' visible strings. Placeholders (%1, %d), the
accelerator mark & and a menu item's shortcut after a tab stay usable: the
shortcut stays outside the brackets. Everything else (pictures, accelerator
keys, the toolbar) is copied as it is. A resource-collection file listing the
folder is written beside it, for rcc.

    make_pseudo_module.py SOURCE_DIR OUT_DIR QRC_FILE
"""
import json
import os
import re
import shutil
import sys

OPEN, CLOSE = "\u27e6", "\u27e7"

# The document string: its pieces are a file filter, an extension and a
# registry type name, which the program reads as data, not as texts.
NOT_TEXTS = {"129"}

LETTER = re.compile(r"[^\W\d_]", re.UNICODE)


def wrap(text):
    """Wraps each line of text that holds a letter; numbers stay as they are."""
    lines = text.split("\n")
    return "\n".join(OPEN + line + CLOSE if LETTER.search(line) else line for line in lines)


def wrap_menu_text(text):
    label, tab, shortcut = text.partition("\t")
    return wrap(label) + tab + shortcut


def wrap_menu(node):
    if isinstance(node, dict):
        return {k: (wrap_menu_text(v) if k == "text" and isinstance(v, str) else wrap_menu(v))
                for k, v in node.items()}
    if isinstance(node, list):
        return [wrap_menu(v) for v in node]
    return node


UI_STRING = re.compile(r"(<string(?:\s[^>]*)?>)([^<]*)(</string>)")


def wrap_ui(text):
    return UI_STRING.sub(lambda m: m.group(1) + wrap(m.group(2)) + m.group(3), text)


def write_json(path, value):
    with open(path, "w", encoding="utf-8") as f:
        f.write(json.dumps(value, indent=1, ensure_ascii=False) + "\n")


def main(source, out, qrc):
    if os.path.isdir(out):
        shutil.rmtree(out)
    files = []
    for folder, _, names in os.walk(source):
        for name in sorted(names):
            src = os.path.join(folder, name)
            rel = os.path.relpath(src, source).replace(os.sep, "/")
            dst = os.path.join(out, rel)
            os.makedirs(os.path.dirname(dst), exist_ok=True)
            if rel == "strings.json":
                with open(src, encoding="utf-8") as f:
                    table = json.load(f)
                write_json(dst, {k: (v if k in NOT_TEXTS else wrap(v)) for k, v in table.items()})
            elif rel.startswith("menus/") and rel.endswith(".json"):
                with open(src, encoding="utf-8") as f:
                    write_json(dst, wrap_menu(json.load(f)))
            elif rel.startswith("dialogs/") and rel.endswith(".ui"):
                with open(src, encoding="utf-8") as f:
                    text = f.read()
                with open(dst, "w", encoding="utf-8") as f:
                    f.write(wrap_ui(text))
            else:
                shutil.copyfile(src, dst)
            files.append(rel)
    with open(qrc, "w", encoding="utf-8") as f:
        f.write('<RCC>\n  <qresource prefix="/lang">\n')
        for rel in sorted(files):
            f.write('    <file alias="%s">%s</file>\n' % (rel, os.path.abspath(os.path.join(out, rel))))
        f.write("  </qresource>\n</RCC>\n")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("usage: make_pseudo_module.py SOURCE_DIR OUT_DIR QRC_FILE")
    main(*sys.argv[1:])
