#!/usr/bin/env python3
"""Every relative link and picture in the README and docs/ names a file or
folder of the checkout, and every #anchor a heading of the page it names.

usage: check_links.py CHECKOUT"""
import os
import re
import sys

LINK = re.compile(r'!?\[[^\]]*\]\(([^)\s]+)(?:\s+"[^"]*")?\)')


def anchors(path):
    """GitHub's anchors for the headings of a Markdown file."""
    found = set()
    with open(path, encoding='utf-8') as f:
        for line in f:
            m = re.match(r'#+\s+(.*)', line)
            if m:
                text = re.sub(r'[^\w\- ]', '', m.group(1).strip().lower())
                found.add(text.replace(' ', '-'))
    return found


def main():
    root = sys.argv[1]
    pages = [os.path.join(root, 'README.md')]
    docs = os.path.join(root, 'docs')
    pages += sorted(os.path.join(docs, n) for n in os.listdir(docs) if n.endswith('.md'))
    checked = bad = 0
    for page in pages:
        with open(page, encoding='utf-8') as f:
            text = f.read()
        # Code is quoted, not linked.
        text = re.sub(r'```.*?```', '', text, flags=re.S)
        text = re.sub(r'`[^`\n]*`', '', text)
        for target in LINK.findall(text):
            if re.match(r'[a-z]+:', target):
                continue  # an address, not a file of ours
            checked += 1
            path, _, anchor = target.partition('#')
            full = os.path.normpath(os.path.join(os.path.dirname(page), path)) if path else page
            where = os.path.relpath(page, root)
            if not os.path.exists(full):
                print('FAIL %s: %s does not exist' % (where, target))
                bad += 1
            elif anchor and full.endswith('.md') and anchor not in anchors(full):
                print('FAIL %s: %s has no heading for #%s' % (where, path or where, anchor))
                bad += 1
    print('%d links in %d pages, %d broken' % (checked, len(pages), bad))
    return 1 if bad or not checked else 0


if __name__ == '__main__':
    sys.exit(main())
