#!/usr/bin/env python3
"""Renders the user's guide (docs/GUIDE.md) as the two files that ship beside Kelvo.exe:

  render_guide.py GUIDE.md Kelvo-README.txt Kelvo-README.html

The text is meant for Notepad: no Markdown markup is left, tables are laid out in plain columns
(Japanese characters take two columns in Notepad's fixed fonts), and it is written in UTF-8 with a
byte-order mark and CR LF. The HTML copy is one page for the browser. Both depend on the guide
alone, so two builds of the same sources give the same bytes.

It reads the small part of Markdown the guide uses: headings (#, ##, ###), paragraphs, lists
("- ", "1. ") with indented continuation lines, tables, fenced code blocks, "---", and inline
`code`, **bold**, *italic* and [links](target).
"""
import html
import re
import sys
import unicodedata

TEXT_WIDTH = 100  # columns a table may take in the text file
COLUMN_GAP = 2

# Characters that a line of Japanese text does not start with, or does not end with.
NO_LINE_START = set("、。，．・：；？！）」』】〉》〕ー…～ゝゞぁぃぅぇぉっゃゅょァィゥェォッャュョ")
NO_LINE_END = set("（「『【〈《〔")


# ---- Reading the guide into blocks

def parse_blocks(lines):
    """Blocks as (kind, payload): heading (level, text), code (lines), table (rows of cells),
    rule, list (items of (indent, marker, lines)), paragraph (lines)."""
    blocks = []
    i = 0
    while i < len(lines):
        line = lines[i]
        if not line.strip():
            i += 1
        elif line.startswith("```"):
            end = i + 1
            while end < len(lines) and not lines[end].startswith("```"):
                end += 1
            blocks.append(("code", lines[i + 1:end]))
            i = end + 1
        elif re.match(r"#{1,3} ", line):
            level = len(line) - len(line.lstrip("#"))
            blocks.append(("heading", (level, line[level + 1:].strip())))
            i += 1
        elif line.strip() == "---":
            blocks.append(("rule", None))
            i += 1
        elif line.startswith("|"):
            rows = []
            while i < len(lines) and lines[i].startswith("|"):
                if not re.match(r"^\|[\s:|-]+\|$", lines[i]):
                    rows.append(table_cells(lines[i]))
                i += 1
            blocks.append(("table", rows))
        elif list_marker(line):
            items = []
            while i < len(lines) and lines[i].strip():
                marker = list_marker(lines[i])
                if marker:
                    indent, mark, rest = marker
                    items.append((indent, mark, [rest]))
                else:
                    items[-1][2].append(lines[i].strip())
                i += 1
            blocks.append(("list", items))
        else:
            para = []
            while i < len(lines) and lines[i].strip() and not starts_block(lines[i]):
                para.append(lines[i])
                i += 1
            blocks.append(("paragraph", para))
    return blocks


def list_marker(line):
    m = re.match(r"^(\s*)([-*]|\d+\.) (.*)$", line)
    return (len(m.group(1)), m.group(2), m.group(3)) if m else None


def starts_block(line):
    return (line.startswith("```") or line.startswith("|") or re.match(r"#{1,3} ", line)
            or line.strip() == "---" or list_marker(line) is not None)


def table_cells(line):
    cells = re.split(r"(?<!\\)\|", line.strip()[1:-1])
    return [c.strip().replace("\\|", "|") for c in cells]


# ---- Inline markup

INLINE = re.compile(r"`([^`]*)`|\*\*(.+?)\*\*|\*([^*\s][^*]*?)\*|\[([^\]]+)\]\(([^)]+)\)")


def plain_inline(text):
    def repl(m):
        if m.group(1) is not None:
            return m.group(1)
        if m.group(2) is not None:
            return plain_inline(m.group(2))
        if m.group(3) is not None:
            return plain_inline(m.group(3))
        return "%s (%s)" % (plain_inline(m.group(4)), m.group(5))
    return INLINE.sub(repl, text).replace("\\|", "|")


def html_inline(text):
    out, pos = [], 0
    for m in INLINE.finditer(text):
        out.append(html.escape(text[pos:m.start()], quote=False))
        if m.group(1) is not None:
            out.append("<code>%s</code>" % html.escape(m.group(1), quote=False))
        elif m.group(2) is not None:
            out.append("<strong>%s</strong>" % html_inline(m.group(2)))
        elif m.group(3) is not None:
            out.append("<em>%s</em>" % html_inline(m.group(3)))
        else:
            out.append('<a href="%s">%s</a>' % (html.escape(m.group(5)), html_inline(m.group(4))))
        pos = m.end()
    out.append(html.escape(text[pos:], quote=False))
    return "".join(out).replace("\\|", "|")


# ---- Widths in a fixed font

def char_width(c):
    if unicodedata.combining(c) or unicodedata.category(c) in ("Cc", "Cf"):
        return 0
    # Ambiguous characters (→, ×, …) are full-width in Japanese fonts.
    return 2 if unicodedata.east_asian_width(c) in ("W", "F", "A") else 1


def width(text):
    return sum(char_width(c) for c in text)


def pad(text, columns):
    return text + " " * (columns - width(text))


def tokens(text):
    """Pieces a line may break between: runs of narrow characters up to a blank, and single wide
    characters, with the punctuation a line may not start or end with kept beside its neighbour."""
    pieces = re.findall(r"[\x21-\x7e]+[ \u3000]*|[^\x21-\x7e][ \u3000]*", text)
    merged = []
    for piece in pieces:
        if merged and (piece[0] in NO_LINE_START or merged[-1][-1] in NO_LINE_END):
            merged[-1] += piece
        else:
            merged.append(piece)
    return merged


def wrap(text, columns):
    lines, current = [], ""
    for piece in tokens(text):
        if current and width(current + piece.rstrip()) > columns:
            lines.append(current.rstrip())
            current = piece.lstrip()
        else:
            current += piece
    lines.append(current.rstrip())
    return lines


# ---- The text file

def column_widths(natural, headers, room):
    """Columns that fit the room: the leading ones give way down to a third of it (never below
    their header), so that the last, usually the explanation, keeps the most; then the widest
    give way first."""
    if sum(natural) <= room:
        return natural
    widths = [max(h, min(w, room // 3)) for w, h in zip(natural[:-1], headers)]
    widths.append(min(natural[-1], room - sum(widths)))
    cap = max(widths)
    while cap > 8 and sum(min(w, cap) for w in widths) > room:
        cap -= 1
    return [min(w, cap) for w in widths]


def text_table(rows):
    count = max(len(r) for r in rows)
    rows = [[plain_inline(c) for c in r] + [""] * (count - len(r)) for r in rows]
    natural = [max(width(r[i]) for r in rows) for i in range(count)]
    widths = column_widths(natural, [width(c) for c in rows[0]],
                           TEXT_WIDTH - COLUMN_GAP * (count - 1))
    out = []
    for index, row in enumerate(rows):
        cells = [wrap(cell, w) for cell, w in zip(row, widths)]
        for n in range(max(len(c) for c in cells)):
            parts = [pad(c[n] if n < len(c) else "", w) for c, w in zip(cells, widths)]
            out.append((" " * COLUMN_GAP).join(parts).rstrip())
        if index == 0:
            out.append((" " * COLUMN_GAP).join("-" * w for w in widths))
    return out


def render_text(blocks):
    out = []
    for kind, payload in blocks:
        if kind == "heading":
            level, title = payload
            title = plain_inline(title)
            if level == 1:
                bar = "=" * max(width(title), 40)
                out += [bar, title, bar]
            elif level == 2:
                out += [title, "-" * width(title)]
            else:
                out.append("■ " + title)
        elif kind == "code":
            out += ["    " + line if line else "" for line in payload]
        elif kind == "table":
            out += text_table(payload)
        elif kind == "rule":
            out.append("=" * 72)
        elif kind == "list":
            for indent, mark, item_lines in payload:
                lead = " " * indent + mark + " "
                out.append(lead + plain_inline(item_lines[0]))
                out += [" " * len(lead) + plain_inline(line) for line in item_lines[1:]]
        else:
            out += [plain_inline(line) for line in payload]
        out.append("")
    while out and not out[-1]:
        out.pop()
    return "\ufeff" + "\r\n".join(out) + "\r\n"


# ---- The HTML file

STYLE = """body { font-family: "Yu Gothic UI", "Meiryo UI", "Segoe UI", sans-serif; line-height: 1.6;
       max-width: 60em; margin: 2em auto; padding: 0 1em; color: #222; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #bbb; padding: 0.2em 0.5em; vertical-align: top; text-align: left; }
th { background: #eee; }
code, pre { font-family: Consolas, "BIZ UDGothic", "MS Gothic", monospace; }
code { background: #f3f3f3; padding: 0 0.2em; }
pre { background: #f3f3f3; padding: 0.6em; overflow-x: auto; }
h1 { border-bottom: 2px solid #444; } h2 { border-bottom: 1px solid #999; }"""


def is_wide(c):
    return char_width(c) == 2


def joined(lines):
    """Lines of one paragraph as the browser should see them: a break between two Japanese
    characters would show as a blank, so such lines are joined directly."""
    text = ""
    for line in (l.strip() for l in lines):
        if text and not (is_wide(text[-1]) and is_wide(line[0])):
            text += "\n"
        text += line
    return text


def html_list(items):
    out, depth_indent = [], []
    for indent, mark, item_lines in items:
        tag = "ol" if mark[0].isdigit() else "ul"
        while depth_indent and indent < depth_indent[-1][0]:
            out.append("</li></%s>" % depth_indent.pop()[1])
        if depth_indent and indent == depth_indent[-1][0]:
            out.append("</li>")
        else:
            out.append("<%s>" % tag)
            depth_indent.append((indent, tag))
        out.append("<li>" + html_inline(joined(item_lines)))
    while depth_indent:
        out.append("</li></%s>" % depth_indent.pop()[1])
    return out


def html_table(rows):
    out = ["<table>"]
    for index, row in enumerate(rows):
        cell = "th" if index == 0 else "td"
        out.append("<tr>" + "".join("<%s>%s</%s>" % (cell, html_inline(c), cell) for c in row)
                   + "</tr>")
    out.append("</table>")
    return out


def render_html(blocks):
    title = next(p[1] for k, p in blocks if k == "heading")
    out = ["<!DOCTYPE html>", '<html lang="ja">', "<head>", '<meta charset="utf-8">',
           "<title>%s</title>" % html.escape(plain_inline(title)), "<style>", STYLE, "</style>",
           "</head>", "<body>"]
    sections = 0
    for kind, payload in blocks:
        if kind == "heading":
            level, text = payload
            sections += 1
            out.append('<h%d id="s%d">%s</h%d>' % (level, sections, html_inline(text), level))
        elif kind == "code":
            out.append("<pre>%s</pre>" % html.escape("\n".join(payload), quote=False))
        elif kind == "table":
            out += html_table(payload)
        elif kind == "rule":
            out.append("<hr>")
        elif kind == "list":
            out += html_list(payload)
        else:
            out.append("<p>%s</p>" % html_inline(joined(payload)))
    out += ["</body>", "</html>"]
    return "\r\n".join("\r\n".join(part.split("\n")) for part in out) + "\r\n"


def main(argv):
    source, text_out, html_out = argv[1:4]
    with open(source, encoding="utf-8-sig") as f:
        lines = f.read().replace("\r\n", "\n").split("\n")
    blocks = parse_blocks(lines)
    with open(text_out, "w", encoding="utf-8", newline="") as f:
        f.write(render_text(blocks))
    with open(html_out, "w", encoding="utf-8", newline="") as f:
        f.write(render_html(blocks))


if __name__ == "__main__":
    main(sys.argv)
