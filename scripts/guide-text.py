#!/usr/bin/env python3
"""Writes the user's guide as plain text for Notepad.

    guide-text.py GUIDE.md GUIDE.txt

Pictures and HTML comments are dropped, headings underlined, emphasis marks
removed, and code marks replaced by “ ” around the name they mark.
Paragraphs and list items are wrapped at 76 columns (a Chinese character
takes two): a text in “ ” is never split across lines unless it is longer
than a line, and no paragraph ends with a line of a single character. Each
line of a code block (a command) stands on its own line, indented by four
more columns, as written. The text is UTF-8 with a byte order mark and CRLF
line ends, which Notepad shows right on Windows XP to 11 in any language;
the script stops when the guide holds a character that code page 936 lacks.
"""
import re
import sys
import unicodedata

WIDTH = 76
CODE_INDENT = 4
# Chinese typesetting keeps these off the start of a line ...
CLOSING = set("，。、；：？！）》」』】”’…,.;:?!)]}%")
# ... and these off its end.
OPENING = set("（《「『【“‘([{")
UNDERLINES = {1: "=", 2: "-"}

LIST_ITEM = re.compile(r"^( *)([-*]|\d+\.) +(.*)$")
HEADING = re.compile(r"^(#{1,6}) +(.*?) *#*$")
PICTURE = re.compile(r"^ *!\[[^\]]*\]\([^)]*\) *$")
COMMENT = re.compile(r"^ *<!--.*--> *$")
FENCE = re.compile(r"^( *)```")


def width(text):
    # Ambiguous characters (“ ” ·) are full width in Chinese fonts.
    return sum(2 if unicodedata.east_asian_width(c) in "WFA" else 1 for c in text)


def plain(text):
    """Inline Markdown to text: segments (text, whole), whole for a marked name."""
    segments = []
    for index, part in enumerate(re.split(r"`([^`]*)`", text)):
        if index % 2:
            segments.append(("“" + part + "”", True))
            continue
        part = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", part)
        part = part.replace("**", "")
        part = re.sub(r"\\([!-/:-@\[-`{-~])", r"\1", part)
        segments.append((part, False))
    return segments


def tokens(segments, room):
    """The text as (token, space before it); a text in “ ” that fits room is one token."""
    found = []
    space = False
    for text, whole in segments:
        if whole:
            found.append((text, space))
            space = False
            continue
        i = 0
        while i < len(text):
            c = text[i]
            end = text.find("”", i) if c == "“" else -1
            if c.isspace():
                space = bool(found)
                i += 1
                continue
            if end > i and width(text[i:end + 1]) <= room:
                found.append((text[i:end + 1], space))
                i = end + 1
            else:
                found.append((c, space))
                i += 1
            space = False
    # No space is kept between a text in “ ” and a Chinese character beside it.
    for i in range(1, len(found)):
        text, space = found[i]
        last = found[i - 1][0]
        if space and ((text[0] == "“" and width(last[-1]) == 2) or (last[-1] == "”" and width(text[0]) == 2)):
            found[i] = (text, False)
    return found


def atoms(segments, room):
    """Pieces no line may split, each as [text, space before it]."""
    pieces = []
    for text, space in tokens(segments, room):
        last = pieces[-1][0] if pieces else ""
        narrow_word = width(text[0]) == 1 and len(text) == 1
        joins = last and not space and (
            last[-1] in OPENING
            or text[0] in CLOSING
            or (narrow_word and width(last[-1]) == 1 and last[-1] not in CLOSING))
        if joins:
            pieces[-1][0] += text
        else:
            pieces.append([text, space])
    return pieces


def characters(pieces):
    """How many characters a line's pieces hold, closing marks not counted."""
    return sum(1 for text, _ in pieces for c in text if c not in CLOSING)


def wrap(text, first_prefix, prefix):
    lines = [[]]
    used = width(first_prefix)
    for piece in atoms(plain(text), WIDTH - width(prefix)):
        gap = 1 if piece[1] and lines[-1] else 0
        if lines[-1] and used + gap + width(piece[0]) > WIDTH:
            lines.append([])
            used, gap = width(prefix), 0
        lines[-1].append(piece)
        used += gap + width(piece[0])
    # No paragraph ends with a single character: the line before gives up its last piece.
    if len(lines) > 1 and characters(lines[-1]) <= 1 and len(lines[-2]) > 1:
        lines[-1].insert(0, lines[-2].pop())
    out = []
    for number, line in enumerate(lines):
        joined = "".join((" " if space and index else "") + piece for index, (piece, space) in enumerate(line))
        out.append(((first_prefix if number == 0 else prefix) + joined).rstrip())
    return out


def blocks(markdown):
    """Paragraphs, list items, headings and code, each as (kind, indent, marker, text or lines)."""
    current = None
    code = None
    for raw in markdown.splitlines():
        fence = FENCE.match(raw)
        if code is not None:
            if fence:
                yield ("code", code[0], "", code[1])
                code = None
            else:
                code[1].append(raw[code[0]:] if raw[:code[0]].strip() == "" else raw.strip())
            continue
        if fence:
            if current:
                yield current
            current = None
            code = (len(fence.group(1)), [])
            continue
        if PICTURE.match(raw) or COMMENT.match(raw):
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
    if code is not None:
        sys.exit("guide-text.py: a code block is not closed")
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
        elif kind == "code":
            lines += [(" " * (indent + CODE_INDENT) + line).rstrip() for line in text]
        elif kind == "item":
            lead = " " * indent + marker + " "
            lines += wrap(text, lead, " " * len(lead))
        else:
            lines += wrap(text, " " * indent, " " * indent)
        previous = kind
    for number, line in enumerate(lines, 1):
        for c in line:
            try:
                c.encode("cp936")
            except UnicodeEncodeError:
                sys.exit(f"guide-text.py: line {number} of the text holds {c} (U+{ord(c):04X}), "
                         "which code page 936 lacks")
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
