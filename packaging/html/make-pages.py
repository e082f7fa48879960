#!/usr/bin/env python3
"""Turns the guide's Markdown files into HTML pages with Debian's
python3-markdown, for the packages.

    make-pages.py OUT_DIR STYLESHEET SOURCE.md...

Each SOURCE.md becomes OUT_DIR/SOURCE.html, and the stylesheet is copied
beside the pages. A link to another of the given sources goes to its page; a
link to any other file of the repository goes to that file on the project's
web site, since the packages don't carry it. Headings get the ids that the
repository's web view gives them, so the guides' own tables of contents
work. The pictures are not copied: the packages install them beside the
pages.
"""
import html
import posixpath
import re
import shutil
import sys
import unicodedata
from pathlib import Path
from urllib.parse import urlsplit

import markdown
from markdown.extensions import Extension
from markdown.extensions.toc import TocExtension
from markdown.treeprocessors import Treeprocessor

WEB_ADDRESS = "https://github.com/quarnet/quarnet/blob/main/"


def heading_id(text, separator):
    """The web view's heading id: lower case, letters, digits, marks, '-' and
    '_' kept, each space a '-'."""
    kept = (c for c in text.lower()
            if c in " -_" or unicodedata.category(c)[0] in "LNM")
    return "".join(kept).replace(" ", separator)


class LinkRewriter(Treeprocessor):
    def __init__(self, md, source, pages, repository):
        super().__init__(md)
        self.source = source
        self.pages = pages
        self.repository = repository

    def run(self, root):
        for link in root.iter("a"):
            link.set("href", self.rewrite(link.get("href", "")))

    def rewrite(self, href):
        parts = urlsplit(href)
        if parts.scheme or parts.netloc or not parts.path:
            return href
        target = (self.source.parent / parts.path).resolve()
        fragment = "#" + parts.fragment if parts.fragment else ""
        if target in self.pages:
            return target.with_suffix(".html").name + fragment
        if not target.exists():
            raise SystemExit(f"{self.source.name}: the link {href} leads nowhere")
        relative = posixpath.join(*target.relative_to(self.repository).parts)
        return WEB_ADDRESS + relative + fragment


def is_wide(character):
    return unicodedata.east_asian_width(character) in "WF"


def join_wide(match):
    return "" if is_wide(match.group(1)) and is_wide(match.group(2)) else match.group(0)


class WideLineJoiner(Treeprocessor):
    """Drops the line breaks of the source between two Chinese characters:
    a browser would show each as a space in the middle of a sentence."""
    LINE_BREAK = re.compile(r"(?<=(.))\n[ \t]*(?=(.))")

    def run(self, root):
        for element in root.iter():
            if element.text and element.tag not in ("pre", "code"):
                element.text = self.LINE_BREAK.sub(join_wide, element.text)
            if element.tail:
                element.tail = self.LINE_BREAK.sub(join_wide, element.tail)


class TablePipes(Treeprocessor):
    """A table cell's escaped pipe is a pipe, in code too, as on the
    repository's web view."""

    def run(self, root):
        for cell in (*root.iter("td"), *root.iter("th")):
            for code in cell.iter("code"):
                if code.text:
                    code.text = type(code.text)(code.text.replace("\\|", "|"))


class GuidePage(Extension):
    """The links between the pages, the Chinese text's line breaks and the
    tables' pipes."""

    def __init__(self, source, pages, repository):
        super().__init__()
        self.arguments = (source, pages, repository)

    def extendMarkdown(self, md):
        # After the inline patterns (priority 20), which make the links.
        md.treeprocessors.register(LinkRewriter(md, *self.arguments), "page_links", 5)
        md.treeprocessors.register(WideLineJoiner(md), "wide_lines", 4)
        md.treeprocessors.register(TablePipes(md), "table_pipes", 3)


PAGE = """<!DOCTYPE html>
<html lang="{lang}">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<link rel="stylesheet" href="{stylesheet}">
</head>
<body>
<main>
{body}
</main>
</body>
</html>
"""


def page_language(source):
    # guide.zh-CN.md is in Chinese; a name without a language is in English.
    suffixes = source.name.split(".")[1:-1]
    return suffixes[0] if suffixes else "en"


def make_page(source, pages, repository, stylesheet):
    converter = markdown.Markdown(extensions=[
        "tables", "fenced_code", "sane_lists",
        TocExtension(slugify=heading_id),
        GuidePage(source, pages, repository)])
    body = converter.convert(source.read_text(encoding="utf-8"))
    titles = [token["name"] for token in converter.toc_tokens if token["level"] == 1]
    title = html.escape(html.unescape(titles[0] if titles else source.stem), quote=False)
    return PAGE.format(lang=page_language(source), title=title,
                       stylesheet=stylesheet, body=body)


def main(arguments):
    if len(arguments) < 3:
        raise SystemExit("usage: make-pages.py OUT_DIR STYLESHEET SOURCE.md...")
    out_dir, stylesheet = Path(arguments[0]), Path(arguments[1])
    sources = [Path(name).resolve() for name in arguments[2:]]
    repository = Path(__file__).resolve().parents[2]
    out_dir.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(stylesheet, out_dir / stylesheet.name)
    pages = set(sources)
    for source in sources:
        page = make_page(source, pages, repository, stylesheet.name)
        (out_dir / source.with_suffix(".html").name).write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main(sys.argv[1:])
