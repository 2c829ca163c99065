#!/usr/bin/env python3
"""Every message the operator's guide quotes (text between curly quotes) is
the program's own: it stands, whole, in a string literal of the updater's
sources (adjacent literals joined, escapes decoded) or in a caption of the
main window's description (without its accelerator '&').

    guia_mensagens_test.py SOURCE_DIR
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1])
guide = (root / "docs" / "guia-do-operador.md").read_text(encoding="utf-8")
# A quote may be wrapped over lines of the guide.
quotes = [" ".join(q.split()) for q in re.findall(r"“([^”]+)”", guide)]
if not quotes:
    print("FAIL: the guide quotes no message")
    sys.exit(1)

LITERAL = re.compile(r'(?:L|u8|u|U)?"((?:[^"\\\n]|\\.)*)"')
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\", "'": "'", "0": "\0"}


def literals(text):
    """The string literals of a C++ text, adjacent ones joined."""
    # Comments out of the way first: a quote in one would start a literal.
    text = re.sub(r"//[^\n]*|/\*.*?\*/", lambda m: " " if m.group(0).startswith("/*") else "",
                  text, flags=re.S)
    out, current, end = [], None, -1
    for m in LITERAL.finditer(text):
        value = re.sub(r"\\(.)", lambda e: ESCAPES.get(e.group(1), e.group(1)), m.group(1))
        if current is not None and text[end:m.start()].strip() == "":
            current += value
        else:
            if current is not None:
                out.append(current)
            current = value
        end = m.end()
    if current is not None:
        out.append(current)
    return out


corpus = []
for folder in ("app", "tools/updater-cli", "framework"):
    for path in sorted((root / folder).rglob("*")):
        if path.suffix in (".cpp", ".h"):
            corpus += literals(path.read_text(encoding="utf-8"))
for path in sorted((root / "app").rglob("*.fw")):
    corpus += [c.replace("&", "") for c in re.findall(r"Caption = '([^']*)'",
                                                        path.read_text(encoding="utf-8"))]

missing = [q for q in quotes if not any(q in text for text in corpus)]
for q in missing:
    print(f"FAIL: the guide quotes a text the program does not have: “{q}”")
if missing:
    sys.exit(1)
print(f"ok: the {len(quotes)} messages the guide quotes are the program's own texts")
