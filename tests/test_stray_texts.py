#!/usr/bin/env python3
"""No text for the user is written anywhere but in the table of texts (layout/texts.cpp).

Usage: test_stray_texts.py SOURCE_DIR FOLDER...

Reports every string literal of the .cpp, .h and .js files in the folders (comments skipped; not the
table itself, nor the tools worksheet/worksheets.cpp and web/benchsums.cpp, nor the page's build
step web/packmodule.js) that holds a letter beyond ASCII other
than in a control's name, words with a space between them other than in markup, or, whole, a
text of the table. Names, suffixes, markup, CSS classes and formats pass; so do the phrases
listed here.
"""
import pathlib
import re
import sys

NOT_READ = {"layout/texts.cpp", "worksheet/worksheets.cpp", "web/benchsums.cpp", "web/packmodule.js"}
NOT_TEXTS = {
    # faults of the program, reported to its developer
    '%s has no %s called \\"%.*s\\"',
    "Kvelmor: the page has no ", "control with a caption", "scroll bar", "settings box",
    "Kvelmor: this copy of the page is damaged", "Kvelmor: the packed build is damaged (",
    "pixels are stored as 0xAABBGGRR words to read as R, G, B, A bytes",
    "use strict",  # a directive of JavaScript
    "×", "…",  # a close button's cross, the mark of a text cut short
    "Times New Roman",  # a font family
    "áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ",  # the letters a charset must hold to speak Czech
}
CSS_CLASSES = re.compile(r"^kv-[a-z-]+( kv-[a-z-]+)*$")
# the designer's prefixes, sliders and dialogs among them, and the drawings ("kresba...")
CONTROL_NAME = re.compile(r"^(op|Op|lab|Lab|n|frm|cmd|sld|dlg|kresba)[A-Za-z0-9\u00C0-\u017F]*$")
PHRASE = re.compile(r"(?<![<\w])[A-Za-z]{2,} +[A-Za-z]{2,}\b(?!=)")  # not "<svg xmlns", "a b="
TOKEN = re.compile(r'"((?:[^"\\\n]|\\.)*)"|\'(?:[^\'\\\n]|\\.)*\'|(//.*|/\*.*?\*/)')


def literals(path):
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        for token in TOKEN.finditer(line):
            if token.group(1) is not None and not line.lstrip().startswith("#include"):
                yield number, token.group(1)


def main():
    root = pathlib.Path(sys.argv[1])
    table = {t for _, t in literals(root / "layout/texts.cpp") if re.search(r"[^\W\d_]{3}", t)}
    stray, read = [], 0
    for path in sorted(p for folder in sys.argv[2:] for p in (root / folder).glob("*.[chj]*")):
        name = path.relative_to(root).as_posix()
        if path.suffix not in (".cpp", ".h", ".js") or name in NOT_READ:
            continue
        read += 1
        for number, text in literals(path):
            czech = re.search(r"[^\x00-\x7F]", text) and not CONTROL_NAME.match(text)
            phrase = PHRASE.search(text) and not CSS_CLASSES.match(text)
            if text not in NOT_TEXTS and (czech or phrase or text in table):
                stray.append(f'{name}:{number}: "{text}"')
    print("\n".join(["texts outside the table of texts:"] + stray) if stray else
          f"{read} files of {', '.join(sys.argv[2:])}: every text comes from the table")
    return 1 if stray or read == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
