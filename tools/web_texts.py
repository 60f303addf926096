#!/usr/bin/env python3
"""The game's texts (game/texts.h) for the page, at build time.

    python3 tools/web_texts.py TEXTS_H PAGE_TEMPLATE OUT_PAGE

Writes OUT_PAGE from PAGE_TEMPLATE with each {{Name}} replaced by the text of
that name, escaped for HTML (a value that is not a text, such as the loader's
table of files, goes in as JSON for the page's script), and {{RilloTexts}}
replaced by every text as one JavaScript object literal, so the page's
scripts and its static markup (seen before the game's code has loaded, or
without JavaScript) take their words
from the one header the game uses. The header keeps one text per line,
`constexpr const char* Name = "...";`; a line of that shape the reader
cannot read, or a {{Name}} the header does not have, stops the build.
"""
import html
import json
import re
import sys

TEXT = re.compile(r'^constexpr const char\* (\w+) = "((?:[^"\\]|\\.)*)";$')
ESCAPES = {"\\": "\\", '"': '"', "n": "\n", "t": "\t"}


def read_texts(path):
    texts = {}
    with open(path, encoding="utf-8") as header:
        for number, line in enumerate(header, 1):
            line = line.rstrip("\n")
            if not line.startswith("constexpr const char*"):
                continue
            match = TEXT.match(line)
            if not match:
                sys.exit(f"{path}:{number}: not one text on one line: {line}")
            value = re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), "\0"), match.group(2))
            if "\0" in value:
                sys.exit(f"{path}:{number}: an escape the page does not know: {line}")
            texts[match.group(1)] = value
    if not texts:
        sys.exit(f"{path}: no texts found")
    return texts


def fill(template, texts):
    def replace(match):
        name = match.group(1)
        if name == "RilloTexts":
            # "</" would end the script element the object stands in.
            return json.dumps(texts, ensure_ascii=False, sort_keys=True).replace("</", "<\\/")
        if name not in texts:
            sys.exit(f"the page names {{{{{name}}}}}, which game/texts.h does not have")
        if not isinstance(texts[name], str):
            # A value for the page's script (numbers, lists, tables).
            return json.dumps(texts[name]).replace("</", "<\\/")
        return html.escape(texts[name])

    return re.sub(r"\{\{(\w+)\}\}", replace, template)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    texts_h, template, out = sys.argv[1:]
    with open(template, encoding="utf-8") as page:
        filled = fill(page.read(), read_texts(texts_h))
    with open(out, "w", encoding="utf-8") as page:
        page.write(filled)


if __name__ == "__main__":
    main()
