#!/usr/bin/env python3
"""Writes README.txt for the release zip: the user half of README.md (all
before "## For developers") as plain text with Windows line ends, so that
Notepad shows it as it is meant to look. Given a version, "<version>" in
the text becomes that version (the zip's own name and folder).

Run: python3 scripts/readme_txt.py README.md README.txt [VERSION]
"""
import re
import sys
import textwrap

WIDTH = 78


def plain(text):
    """Markdown inline marks to plain text; code spans are kept verbatim."""
    parts = re.split(r'(`[^`]*`)', text)
    for i, part in enumerate(parts):
        if i % 2:
            parts[i] = part[1:-1]
            continue
        part = re.sub(r'!\[[^\]]*\]\([^)]*\)', '', part)  # the zip has no pictures
        part = re.sub(r'\[([^\]]+)\]\(([^)]+)\)',
                      lambda m: m[1] if m[1] == m[2] else f'{m[1]} ({m[2]})', part)
        part = re.sub(r'<((?:https?|mailto):[^>]+)>', r'\1', part)
        part = re.sub(r'\*\*(.+?)\*\*', r'"\1"', part, flags=re.S)  # names of controls
        part = re.sub(r'(?<![\w*])\*([^*\s][^*]*?)\*(?![\w*])', r'\1', part)
        parts[i] = part
    return ''.join(parts)


def cells(row):
    return [plain(c.strip()) for c in row.strip().strip('|').split('|')]


def table(rows):
    """A table as records, one per row: Notepad does not wrap long lines, and
    the cells are too long for columns."""
    head = cells(rows[0])
    body = [cells(r) for r in rows[1:] if not re.fullmatch(r'[\s|:-]+', r)]
    label = max(len(h) for h in head) + 2
    out = []
    for row in body:
        for name, value in zip(head, row):
            out += textwrap.wrap(value or '-', WIDTH - 2,
                                 initial_indent='  ' + name.ljust(label),
                                 subsequent_indent=' ' * (label + 2),
                                 break_on_hyphens=False)
        out.append('')
    return out


def convert(markdown, version=None):
    user_half = markdown.split('\n## For developers', 1)[0]
    if version:
        user_half = user_half.replace('<version>', version)
    lines = user_half.split('\n')
    out = []
    prose = []  # a paragraph at a time: bold and code may span its lines

    def flush():
        if prose:
            out.extend(plain('\n'.join(prose)).split('\n'))
            prose.clear()

    i = 0
    while i < len(lines):
        line = lines[i].rstrip()
        if line.startswith('|'):
            flush()
            rows = []
            while i < len(lines) and lines[i].startswith('|'):
                rows.append(lines[i])
                i += 1
            out += table(rows)
            continue
        if line.startswith('```'):
            flush()
            i += 1
            while i < len(lines) and not lines[i].startswith('```'):
                out.append('    ' + lines[i].rstrip())
                i += 1
            i += 1
            continue
        heading = re.match(r'(#+)\s+(.*)', line)
        if heading:
            flush()
            title = plain(heading[2])
            rule = {1: '=', 2: '-'}.get(len(heading[1]), '~')
            out += ['', title, rule * len(title), '']
        elif not line:
            flush()
            out.append('')
        elif not re.fullmatch(r'(!\[[^\]]*\]\([^)]*\)\s*)+', line):
            prose.append(line)  # a line that held only a picture goes
        i += 1
    flush()
    text = re.sub(r'\n{3,}', '\n\n', '\n'.join(out)).strip('\n') + '\n'
    return text.replace('\n', '\r\n')


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit('usage: readme_txt.py README.md README.txt [VERSION]')
    with open(sys.argv[1], encoding='utf-8') as f:
        text = convert(f.read(), sys.argv[3] if len(sys.argv) == 4 else None)
    with open(sys.argv[2], 'w', encoding='utf-8', newline='') as f:
        f.write(text)


if __name__ == '__main__':
    main()
