#!/usr/bin/env python3
"""No text a user reads is written anywhere but in the table of texts (layout/texts.cpp).

Usage: test_stray_texts.py SOURCE_DIR FOLDER...

Reads every string literal of the C++ files (.cpp, .h) in the folders named, comments left out,
and reports each literal that looks like a text for the user:
  - one that holds a letter beyond ASCII (a Czech word), other than a control's name;
  - one that holds words separated by spaces (a phrase or a sentence), other than markup;
  - one that is, whole, a text of the table (a caption such as "Konec" written out again).
The table itself and the worksheet test tool (worksheet/worksheets.cpp, never installed) are not
read. What is left are names (controls, options, variables, fonts), file suffixes, markup and
formats; the few phrases that are not for the user are listed below with the reason.
"""
import pathlib
import re
import sys

TABLE = "layout/texts.cpp"
NOT_READ = {TABLE, "worksheet/worksheets.cpp"}

# Literals that look like texts but are not read by a user of the program.
NOT_TEXTS = {
    '%s has no %s called \\"%.*s\\"': "a fault of the program, reported to its developer",
    "Times New Roman": "a font family",
    "áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ": "the Czech letters a charset must hold",
}

# The names of the window's controls, some of them with Czech letters ("labPravděpodobnost").
CONTROL_NAME = re.compile(r"^(op|Op|lab|Lab|n|frm|cmd)[A-Za-z0-9\u00C0-\u017F]*$")
# Two words of letters with a space between them, the second not an attribute ("x y=") and the
# first not an element ("<svg xmlns").
PHRASE = re.compile(r"(?<![<\w])[A-Za-z]{2,} +[A-Za-z]{2,}\b(?!=)")


def literals(source):
    """(line, text) of every string literal in C++ source, comments skipped."""
    found, i, line, n = [], 0, 1, len(source)
    while i < n:
        c = source[i]
        if c == "\n":
            line += 1
            i += 1
        elif source.startswith("//", i):
            end = source.find("\n", i)
            i = n if end < 0 else end
        elif source.startswith("/*", i):
            end = source.find("*/", i + 2)
            line += source.count("\n", i, end)
            i = end + 2
        elif (raw := re.match(r'(?:u8|u|U|L)?R"([^(\s]*)\(', source[i:])) and (
            i == 0 or not (source[i - 1].isalnum() or source[i - 1] == "_")
        ):
            close = ")" + raw.group(1) + '"'
            end = source.find(close, i + raw.end())
            found.append((line, source[i + raw.end() : end]))
            line += source.count("\n", i, end)
            i = end + len(close)
        elif c in "\"'":
            j = i + 1
            while source[j] != c:
                j += 2 if source[j] == "\\" else 1
            if c == '"':
                found.append((line, source[i + 1 : j]))
            i = j + 1
        else:
            i += 1
    return found


def main():
    root = pathlib.Path(sys.argv[1])
    folders = sys.argv[2:]
    table = {text for _, text in literals((root / TABLE).read_text(encoding="utf-8"))}
    table = {text for text in table if re.search(r"[A-Za-z\u00C0-\u017F]{3}", text)}
    stray, read = [], 0
    for folder in folders:
        for path in sorted((root / folder).glob("*")):
            name = path.relative_to(root).as_posix()
            if path.suffix not in (".cpp", ".h") or name in NOT_READ:
                continue
            read += 1
            for line, text in literals(path.read_text(encoding="utf-8")):
                if text in NOT_TEXTS or text.endswith(".h"):
                    continue
                czech = re.search(r"[^\x00-\x7F]", text) and not CONTROL_NAME.match(text)
                if czech or PHRASE.search(text) or text in table:
                    stray.append(f"{name}:{line}: \"{text}\"")
    if read == 0:
        print("FAIL: no source read in " + " ".join(folders))
        return 1
    if stray:
        print("FAIL: texts outside the table of texts (layout/texts.cpp):")
        print("\n".join(stray))
        return 1
    print(f"{read} files of {', '.join(folders)}: every text comes from the table")
    return 0


if __name__ == "__main__":
    sys.exit(main())
