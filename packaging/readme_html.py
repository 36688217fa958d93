#!/usr/bin/env python3
"""readme_html.py README.md OUT.html: the README as a stand-alone HTML page
(the documentation the version dialog opens), with Python-Markdown."""
import sys

import markdown

source, target = sys.argv[1], sys.argv[2]
with open(source, encoding="utf-8") as f:
    body = markdown.markdown(f.read(), extensions=["tables", "fenced_code"])
with open(target, "w", encoding="utf-8") as f:
    f.write('<!DOCTYPE html>\n<html lang="ja">\n<head>\n<meta charset="utf-8">\n'
            "<title>QLX-50 Manager</title>\n"
            "<style>body{font-family:sans-serif;max-width:60em;margin:2em auto;line-height:1.5}"
            "table{border-collapse:collapse}td,th{border:1px solid #ccc;padding:.2em .5em}"
            "img{max-width:100%}code,pre{background:#f4f4f4}</style>\n"
            "</head>\n<body>\n" + body + "\n</body>\n</html>\n")
