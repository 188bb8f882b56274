#!/usr/bin/env python3
"""Checks the pages below the given folders, as the batch tests need it.

check_pages.py [--pages N] [--no-links] folder ...

Every *.html file must be whole (end with </html>) and UTF-8, hold only the
elements the templates write and no event attribute (a name that slipped in
as markup would bring either), and every href and src must reach a file.
With --pages, exactly N pages must be there. Prints the first faults and
exits 1 when there are any.
"""
import html.parser
import os
import sys
import urllib.parse

ALLOWED = {'html', 'head', 'meta', 'title', 'body', 'div', 'a', 'img', 'br', 'font', 'table', 'tr', 'td',
           'h1', 'p', 'span', 'hr', 'small',
           # the shipped profiles' HTML5 pages (a script only from a file)
           'link', 'script', 'header', 'nav', 'main', 'footer', 'section', 'figure', 'figcaption', 'h2',
           'ol', 'ul', 'li', 'time'}


class Page(html.parser.HTMLParser):
    def __init__(self, path, links, faults):
        super().__init__()
        self.path, self.links, self.faults = path, links, faults

    def handle_starttag(self, tag, attrs):
        if tag not in ALLOWED:
            self.faults.append(f'{self.path}: element <{tag}>')
        if tag == 'script' and not dict(attrs).get('src'):
            self.faults.append(f'{self.path}: a script written into the page')
        for name, value in attrs:
            if name.startswith('on'):
                self.faults.append(f'{self.path}: attribute {name} on <{tag}>')
            if self.links and name in ('href', 'src') and value:
                target = os.path.join(os.path.dirname(self.path),
                                      urllib.parse.unquote_to_bytes(value).decode('utf-8', 'surrogateescape'))
                if not os.path.isfile(target):
                    self.faults.append(f'{self.path}: {name}="{value}" reaches no file')


def main(argv):
    expected = None
    links = True
    folders = []
    args = iter(argv)
    for a in args:
        if a == '--pages':
            expected = int(next(args))
        elif a == '--no-links':
            links = False
        else:
            folders.append(a)
    faults = []
    pages = 0
    for root in folders:
        for folder, _, files in os.walk(root):
            for f in files:
                if not f.endswith('.html'):
                    continue
                path = os.path.join(folder, f)
                pages += 1
                data = open(path, 'rb').read()
                if not data.rstrip().endswith(b'</html>'):
                    faults.append(f'{path}: empty or cut ({len(data)} bytes)')
                try:
                    text = data.decode('utf-8')
                except UnicodeDecodeError as e:
                    faults.append(f'{path}: not UTF-8 ({e})')
                    continue
                Page(path, links, faults).feed(text)
    if expected is not None and pages != expected:
        faults.append(f'{pages} pages, not {expected}')
    for f in faults[:10]:
        print(f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
