#!/usr/bin/env python3
"""The asset check on a small source tree of its own: a sound tree passes, and each
labelled fault makes it fail with its own message.

    assets_test.py <work folder>
"""
import os
import shutil
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
WORK = os.path.abspath(sys.argv[1])
CURSORS = ['movectrl', 'pivot', 'rotate', 'shearh', 'shearv', 'hand']

HEADER = '''#pragma once
#define IDS_HELLO 200
#define IDD_SMALL 201
#define IDB_DOT 202
#define IDC_CUR_MOVECTRL 210
#define IDC_CUR_PIVOT 211
#define IDC_CUR_ROTATE 212
#define IDC_CUR_SHEARH 213
#define IDC_CUR_SHEARV 214
#define IDC_CUR_HAND 215
'''

SCRIPT = '''#include <windows.h>
#include "fix_res.h"
/* a block comment
   over two lines */
STRINGTABLE
BEGIN
    IDS_HELLO "Hello // not a comment"
END

IDD_SMALL DIALOG 0, 0, 40, 20
STYLE WS_CHILD
FONT 8, "MS Sans Serif"
BEGIN
    LTEXT "", -1, 0, 0, 10, 10
END

IDB_DOT BITMAP "dot.bmp"
''' + ''.join('IDC_CUR_%s CURSOR "cursors/%s.cur"\n' % (c.upper(), c) for c in CURSORS) + \
    '"IDC_HAND" CURSOR "cursors/hand.cur"\n'

ROWS = ['id,symbol,kind,file,size,depth,background,generator,params',
        '200,IDS_HELLO,string,res/sugarleaf.rc,,,,rc,',
        '201,IDD_SMALL,dialog,res/sugarleaf.rc,,,,rc,',
        '202,IDB_DOT,bitmap,res/dot.bmp,2x1,24,#FFFFFF,hand,'] + \
       ['%d,IDC_CUR_%s,cursor,res/cursors/%s.cur,32x32,1,mask,cursors,' % (210 + i, c.upper(), c)
        for i, c in enumerate(CURSORS)] + \
       ['IDC_HAND,,cursor,res/cursors/hand.cur,32x32,1,mask,cursors,']


def bmp_2x1():
    pixels = b'\xff\xff\xff\x00\x00\x00\x00\x00'  # white, black, row padding
    info = struct.pack('<IiiHHIIiiII', 40, 2, 1, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 54) + info + pixels


def replace(text, old, new):
    assert old in text, old
    return text.replace(old, new)


def flip_last_byte(root, path):
    with open(os.path.join(root, path), 'r+b') as f:
        f.seek(-1, 2)
        last = f.read(1)
        f.seek(-1, 2)
        f.write(bytes([last[0] ^ 0xFF]))


# Label, change to (script, header, rows) or a function of the tree, expected message.
CASES = [
    ('sound tree', None, None),
    ('resource without a row', lambda s, h, r: (s, h, [x for x in r if 'IDB_DOT' not in x]), 'bitmap 202 (IDB_DOT) has no row'),
    ('row without a resource', lambda s, h, r: (replace(s, 'IDB_DOT BITMAP "dot.bmp"\n', ''), h, r),
     'no bitmap with id 202'),
    ('row of another kind', lambda s, h, r: (s, h, [x.replace(',dialog,', ',toolbar,') for x in r]),
     'dialog 201 (IDD_SMALL) has no row'),
    ('row with the wrong symbol', lambda s, h, r: (s, h, [x.replace('IDD_SMALL', 'IDD_TINY') for x in r]),
     'is IDD_SMALL from res/sugarleaf.rc in the script, the row says IDD_TINY'),
    ('picture of another size', lambda s, h, r: (s, h, [x.replace('2x1,24', '2x2,24') for x in r]),
     'res/dot.bmp is 2x1 at depth 24, the row says 2x2 at depth 24'),
    ('symbol without a number', lambda s, h, r: (s, replace(h, '#define IDB_DOT 202\n', ''), r),
     'IDB_DOT has no numeric #define'),
    ('statement not understood', lambda s, h, r: (s + 'IDB_DOT PICTURE 3\n', h, r), 'line not understood'),
    ('block left open', lambda s, h, r: (s + 'STRINGTABLE\nBEGIN\n', h, r), 'left open'),
    ('batch generator with params', lambda s, h, r: (s, h, [x + 'big' if ',cursors,' in x else x for x in r]),
     'the "cursors" generator takes no params'),
    ('unknown generator', lambda s, h, r: (s, h, [x.replace(',hand,', ',paint,') for x in r]),
     'unknown generator "paint"'),
    ('inline resource said to be generated', lambda s, h, r: (s, h, [x.replace(',,rc,', ',,hand,') for x in r]),
     'a resource written in res/sugarleaf.rc has generator "rc"'),
    ('named resource without a row', lambda s, h, r: (s, h, [x for x in r if not x.startswith('IDC_HAND,')]),
     'cursor IDC_HAND () has no row'),
    ('row of a name the script lacks', lambda s, h, r: (replace(s, '"IDC_HAND" CURSOR', '"IDC_POINT" CURSOR'), h, r),
     'no cursor with id IDC_HAND in the resource script'),
    ('columns renamed', lambda s, h, r: (s, h, [r[0].replace('generator', 'maker')] + r[1:]), 'the columns are'),
    ('committed file unlike its generator', 'flip', 'res/cursors/rotate.cur differs from what generator "cursors"'),
    ('generator file no row registers',
     lambda s, h, r: (replace(s, 'IDC_CUR_PIVOT CURSOR "cursors/pivot.cur"\n', ''), h,
                      [x for x in r if 'PIVOT' not in x]),
     'generator "cursors" makes res/cursors/pivot.cur, which no row registers'),
]


def build_tree(root, change):
    script, header, rows = SCRIPT, HEADER, list(ROWS)
    if callable(change):
        script, header, rows = change(script, header, rows)
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(os.path.join(root, 'res', 'cursors'))
    for name, text in (('sugarleaf.rc', script), ('fix_res.h', header), ('assets.csv', '\n'.join(rows) + '\n')):
        with open(os.path.join(root, 'res', name), 'w') as f:
            f.write(text)
    with open(os.path.join(root, 'res', 'dot.bmp'), 'wb') as f:
        f.write(bmp_2x1())
    for c in CURSORS:
        shutil.copy(os.path.join(REPO, 'res', 'cursors', c + '.cur'), os.path.join(root, 'res', 'cursors'))
    if change == 'flip':
        flip_last_byte(root, 'res/cursors/rotate.cur')


failures = []
for i, (label, change, expected) in enumerate(CASES):
    root = os.path.join(WORK, 'case%d' % i)
    build_tree(root, change)
    done = subprocess.run(['python3', os.path.join(HERE, 'assets.py'), 'check', '--root', root, '--out',
                           os.path.join(root, 'generated')], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True)
    if expected is None:
        ok = done.returncode == 0 and '10 resources' in done.stdout and '7 generated files' in done.stdout
    else:
        ok = done.returncode == 1 and expected in done.stdout
    if not ok:
        said = ''.join('    ' + line + '\n' for line in done.stdout.splitlines())
        failures.append('%s: exit %d, expected %s; the check said:\n%s' % (label, done.returncode,
                                                                          expected or 'a pass', said))

for f in failures:
    print('FAIL: ' + f)
if failures:
    sys.exit(1)
print('asset check: a sound tree passes, %d faults each found' % (len(CASES) - 1))
