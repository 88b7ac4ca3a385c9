#!/usr/bin/env python3
"""The English translation is complete and current.

Runs lupdate over the window's sources into a copy of the checked-in .ts
file: the copy must come out unchanged (no text added, changed or gone
since the file was last updated). Then every message must have a finished
translation with no Chinese left in it and the same %1..%9 markers as its
source, and the same accelerator count.

usage: check_translations.py LUPDATE TS_FILE SOURCES_LIST [lupdate options...]
"""
import difflib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

CJK = re.compile('[\u3000-\u303f\u3400-\u9fff\uff00-\uffef]')
MARKER = re.compile(r'%[1-9]')


def text_of(element):
    # lupdate writes a carriage return as <byte value="xd"/>.
    parts = [element.text or '']
    for child in element:
        if child.tag == 'byte':
            parts.append(chr(int(child.get('value')[1:], 16)))
        parts.append(child.tail or '')
    return ''.join(parts)


def main():
    lupdate, ts_file, sources_list = sys.argv[1:4]
    options = sys.argv[4:]
    with open(sources_list, encoding='utf-8') as f:
        sources = [line.strip() for line in f if line.strip()]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        copy = tmp + '/current.ts'
        shutil.copyfile(ts_file, copy)
        run = subprocess.run([lupdate, *options, *sources, '-ts', copy], capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout, run.stderr)
            return 1
        with open(ts_file, encoding='utf-8') as a, open(copy, encoding='utf-8') as b:
            before, after = a.read().splitlines(), b.read().splitlines()
        if before != after:
            failures.append('not current: run `cmake --build build/debug --target update_translations` and translate:\n' +
                            '\n'.join(difflib.unified_diff(before, after, 'checked in', 'from the sources', lineterm='')))
    root = ET.parse(ts_file).getroot()
    count = 0
    for context in root.iter('context'):
        name = context.findtext('name')
        for message in context.iter('message'):
            count += 1
            source = text_of(message.find('source'))
            translation = message.find('translation')
            english = text_of(translation)
            where = f'{name}: {source!r}'
            if translation.get('type') in ('unfinished', 'vanished', 'obsolete') or (source.strip() and not english.strip()):
                failures.append(f'{where}: no finished translation')
                continue
            if CJK.search(english):
                failures.append(f'{where}: Chinese left in {english!r}')
            if sorted(set(MARKER.findall(source))) != sorted(set(MARKER.findall(english))):
                failures.append(f'{where}: markers differ in {english!r}')
            if source.count('&') != english.count('&'):
                failures.append(f'{where}: accelerators differ in {english!r}')
    for failure in failures:
        print(failure)
    print(f'{count} messages, {len(failures)} problems')
    return 1 if failures or count == 0 else 0


if __name__ == '__main__':
    sys.exit(main())
