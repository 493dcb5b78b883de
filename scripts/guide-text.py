#!/usr/bin/env python3
"""Writes the user's guide as plain text for Notepad.

    guide-text.py GUIDE.md GUIDE.txt

Pictures are dropped, headings underlined, emphasis and code marks removed,
paragraphs and list items wrapped at 76 columns (a Chinese character takes
two). The text is UTF-8 with a byte order mark and CRLF line ends, which
Notepad shows right on Windows XP to 11 in any language.
"""
import re
import sys
import unicodedata

WIDTH = 76
# Chinese typesetting keeps these off the start of a line ...
CLOSING = set("，。、；：？！）》」』】”’…,.;:?!)]}%")
# ... and these off its end.
OPENING = set("（《「『【“‘([{")
UNDERLINES = {1: "=", 2: "-"}

LIST_ITEM = re.compile(r"^( *)([-*]|\d+\.) +(.*)$")
HEADING = re.compile(r"^(#{1,6}) +(.*?) *#*$")
PICTURE = re.compile(r"^ *!\[[^\]]*\]\([^)]*\) *$")


def width(text):
    # Ambiguous characters (“ ” ·) are full width in Chinese fonts.
    return sum(2 if unicodedata.east_asian_width(c) in "WFA" else 1 for c in text)


def plain(text):
    """Inline Markdown to text: segments (text, is_code)."""
    segments = []
    for index, part in enumerate(re.split(r"`([^`]*)`", text)):
        if index % 2:
            segments.append((part, True))
            continue
        part = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", part)
        part = part.replace("**", "")
        part = re.sub(r"\\([!-/:-@\[-`{-~])", r"\1", part)
        segments.append((part, False))
    return segments


def atoms(segments):
    """Pieces no line may split, each with whether a space stood before it."""
    pieces = []  # [text, space_before]
    space = False
    glue = False  # the last piece ends with an opening mark

    def add(text, narrow_word):
        nonlocal space, glue
        last = pieces[-1][0] if pieces else ""
        joins = pieces and not space and (
            glue
            or text[0] in CLOSING
            or (narrow_word and last and width(last[-1]) == 1 and last[-1] not in CLOSING))
        if joins:
            pieces[-1][0] += text
        else:
            pieces.append([text, space])
        space = False
        glue = text[-1] in OPENING

    for text, is_code in segments:
        if is_code:
            add(text, False)
            continue
        for c in text:
            if c.isspace():
                space = bool(pieces)
                glue = glue and not space
            else:
                add(c, width(c) == 1)
    return pieces


def wrap(text, first_prefix, prefix):
    lines = []
    line = first_prefix
    fresh = True
    for piece, space_before in atoms(plain(text)):
        gap = " " if space_before and not fresh else ""
        if not fresh and width(line + gap + piece) > WIDTH:
            lines.append(line)
            line, gap = prefix, ""
        line += gap + piece
        fresh = False
    lines.append(line)
    return [l.rstrip() for l in lines]


def blocks(markdown):
    """Paragraphs, list items and headings, each as (kind, indent, marker, text)."""
    current = None
    for raw in markdown.splitlines():
        if PICTURE.match(raw):
            continue
        if not raw.strip():
            if current:
                yield current
            current = None
            continue
        heading = HEADING.match(raw)
        item = LIST_ITEM.match(raw)
        if heading or item:
            if current:
                yield current
            if heading:
                current = ("heading", 0, heading.group(1), heading.group(2))
            else:
                current = ("item", len(item.group(1)), item.group(2), item.group(3))
            continue
        if current and current[0] != "heading":
            kind, indent, marker, text = current
            joint = "" if width(text[-1:]) == 2 and width(raw.strip()[:1]) == 2 else " "
            current = (kind, indent, marker, text + joint + raw.strip())
        else:
            if current:
                yield current
            current = ("paragraph", len(raw) - len(raw.lstrip(" ")), "", raw.strip())
    if current:
        yield current


def render(markdown):
    lines = []
    previous = None
    for kind, indent, marker, text in blocks(markdown):
        # Items of one list stay together; everything else is set apart.
        if lines and not (kind == "item" and previous == "item"):
            lines.append("")
        if kind == "heading":
            title = "".join(part for part, _ in plain(text))
            level = len(marker)
            if level in UNDERLINES:
                lines += [title, UNDERLINES[level] * width(title)]
            else:
                lines.append("【" + title + "】")
        elif kind == "item":
            lead = " " * indent + marker + " "
            lines += wrap(text, lead, " " * len(lead))
        else:
            lines += wrap(text, " " * indent, " " * indent)
        previous = kind
    return "\ufeff" + "".join(line + "\r\n" for line in lines)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: guide-text.py GUIDE.md GUIDE.txt")
    with open(sys.argv[1], encoding="utf-8") as source:
        text = render(source.read())
    with open(sys.argv[2], "w", encoding="utf-8", newline="") as target:
        target.write(text)


if __name__ == "__main__":
    main()
