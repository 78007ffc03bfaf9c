#!/usr/bin/env python3
"""The asset renderer seen from outside: pictures of frame styles and paper layouts read
back pixel by pixel, the PNG and BMP forms alike, and bad command lines refused without
writing anything.

    render_check.py <wine-run> <render_assets.exe> <work folder>
"""
import os
import shutil
import struct
import subprocess
import sys

WINE_RUN, RENDERER, WORK = sys.argv[1:4]
failures = []


def windows_path(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')  # the prefix's Z: is the Unix root


def render(name, *words):
    """Runs the renderer with the output file as its fifth word; (exit code, path, output)."""
    out = os.path.join(WORK, name)
    words = list(words)
    command = [WINE_RUN, RENDERER] + words[:4] + [windows_path(out)] + words[4:]
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, timeout=120)
    return done.returncode, out, done.stdout


def read_bmp(path):
    """(width, height, pixel(x, y) -> 'RRGGBB') of a 24-bit BMP."""
    with open(path, 'rb') as f:
        data = f.read()
    offset = struct.unpack_from('<I', data, 10)[0]
    width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
    if data[:2] != b'BM' or bits != 24:
        raise AssertionError('%s is not a 24-bit BMP' % path)
    stride = (width * 3 + 3) // 4 * 4

    def pixel(x, y):
        row = height - 1 - y if height > 0 else y
        b, g, r = data[offset + row * stride + x * 3:offset + row * stride + x * 3 + 3]
        return '%02X%02X%02X' % (r, g, b)
    return width, abs(height), pixel


def expect(what, condition, detail=''):
    if not condition:
        failures.append('%s %s' % (what, detail))


shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)

# Frames: a 1-inch area whose style-1 band is a quarter inch (24 pixels) wide; style 0 is
# the same record without a frame, the control that the band comes from the style.
FRAMES = [
    # name, words, size, {point: colour}
    ('band', ['frame', '1', '96', '96', 'colour=FF0000', 'background=0000FF'], (96, 96),
     {(12, 48): 'FF0000', (48, 12): 'FF0000', (84, 84): 'FF0000', (48, 48): '0000FF'}),
    ('none', ['frame', '0', '96', '96', 'colour=FF0000', 'background=0000FF'], (96, 96),
     {(12, 48): '0000FF', (48, 48): '0000FF'}),
    ('wide', ['frame', '1', '192', '96', 'colour=12AB34', 'outline=FFFFFF', 'background=FC9A42',
      'size=0.5'], (192, 96),
     {(12, 48): '12AB34', (96, 48): 'FC9A42', (180, 48): '12AB34'}),
]
for name, words, size, points in FRAMES:
    code, out, said = render(name + '.bmp', *words)
    expect('frame "%s"' % name, code == 0 and os.path.isfile(out), 'exit %d: %s' % (code, said))
    if code != 0 or not os.path.isfile(out):
        continue
    width, height, pixel = read_bmp(out)
    expect('frame "%s" size' % name, (width, height) == size, '%dx%d' % (width, height))
    for (x, y), colour in points.items():
        expect('frame "%s" at %d,%d' % (name, x, y), pixel(x, y) == colour, 'is %s, not %s' % (pixel(x, y), colour))

# The area a picture shows: 2 inches in 48 pixels is 24 pixels to the inch, so the style-1
# band of a quarter of the width is 12 pixels wide; the outline's width scales with it.
code, out, said = render('inches.bmp', 'frame', '1', '48', '48', 'colour=FF0000', 'background=0000FF', 'outline=00FF00',
                         'inches=2', 'pen=0')
expect('frame "inches"', code == 0 and os.path.isfile(out), 'exit %d: %s' % (code, said))
if code == 0 and os.path.isfile(out):
    width, height, pixel = read_bmp(out)
    expect('frame "inches" size', (width, height) == (48, 48), '%dx%d' % (width, height))
    for (x, y), colour in {(6, 24): 'FF0000', (10, 24): 'FF0000', (14, 24): '0000FF', (24, 24): '0000FF',
                           (41, 24): 'FF0000'}.items():
        expect('frame "inches" at %d,%d' % (x, y), pixel(x, y) == colour, 'is %s, not %s' % (pixel(x, y), colour))
    expect('frame "inches" without a pen', all(pixel(x, 24) != '00FF00' for x in range(48)), 'an outline drawn')

# The frame panel's thumbnails as registered: every style's row drawn twice gives the same
# bytes, 50 x 50, and no two styles alike.
rows = []
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'res', 'assets.csv')) as f:
    for line in f:
        fields = line.rstrip('\n').split(',')
        if len(fields) == 9 and fields[1].startswith('IDB_FRAME_STYLE_'):
            rows.append(fields)
expect('frame style rows', len(rows) == 14, '%d rows' % len(rows))
pictures = {}
for fields in rows:
    words = fields[8].split()
    size = fields[4].split('x')
    made = []
    for run in (1, 2):
        code, out, said = render('style_%s_%d.bmp' % (fields[0], run), words[0], words[1], size[0], size[1], *words[2:])
        expect('style row %s run %d' % (fields[0], run), code == 0 and os.path.isfile(out), said)
        made.append(open(out, 'rb').read() if os.path.isfile(out) else b'')
    expect('style row %s alike in both runs' % fields[0], made[0] == made[1] and made[0] != b'')
    if made[0]:
        width, height, _ = read_bmp(os.path.join(WORK, 'style_%s_1.bmp' % fields[0]))
        expect('style row %s size' % fields[0], (width, height) == (50, 50), '%dx%d' % (width, height))
    pictures[fields[0]] = made[0]
expect('frame styles all different', len(set(pictures.values())) == len(pictures) == 14,
       '%d different of %d' % (len(set(pictures.values())), len(pictures)))

# Layouts: the sheet fitted and centred over the background, its cells white, or each in a
# colour of its own.
code, plain, said = render('layout.bmp', 'layout', '10', '200', '150', 'background=00FF00')
code2, coloured, said2 = render('layout_colours.bmp', 'layout', '10', '200', '150', 'background=00FF00', 'colours=1')
expect('layout', code == 0 and code2 == 0, '%s %s' % (said, said2))
if code == 0 and code2 == 0:
    width, height, pixel = read_bmp(plain)
    expect('layout size', (width, height) == (200, 150), '%dx%d' % (width, height))
    for x, y in ((0, 0), (0, 149), (199, 75)):
        expect('layout background at %d,%d' % (x, y), pixel(x, y) == '00FF00', pixel(x, y))
    plain_colours = {pixel(x, y) for x in range(width) for y in range(height)}
    expect('layout sheet', 'F8F8F8' in plain_colours, sorted(plain_colours)[:10])
    expect('layout cells', 'FFFFFF' in plain_colours and '000000' in plain_colours, sorted(plain_colours)[:10])
    _, _, pixel2 = read_bmp(coloured)
    more = {pixel2(x, y) for x in range(width) for y in range(height)} - plain_colours
    expect('layout cells in colours', len(more) >= 8, 'only %d new colours' % len(more))

# One picture, two file forms with the same pixels.
code, png, said = render('band.png', *FRAMES[0][1])
expect('PNG', code == 0 and os.path.isfile(png), said)
if code == 0 and os.path.isfile(png):
    with open(png, 'rb') as f:
        head = f.read(24)
    expect('PNG header', head[:8] == b'\x89PNG\r\n\x1a\n' and struct.unpack('>II', head[16:24]) == (96, 96))
    diff = subprocess.run(['compare', '-metric', 'AE', png, os.path.join(WORK, 'band.bmp'), 'null:'],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    expect('PNG and BMP pixels', diff.returncode == 0, diff.stdout)

# Refused: exit code 1 for a bad command line, 2 for an output that cannot be written;
# nothing written either way.
REFUSED = [
    ('style past the last', ['frame', '15', '10', '10'], 1),
    ('no width', ['frame', '1', '0', '10'], 1),
    ('unknown subject', ['frame2', '1', '10', '10'], 1),
    ('unknown key', ['frame', '1', '10', '10', 'bogus=1'], 1),
    ('key of the other subject', ['layout', '10', '10', '10', 'colour=FF0000'], 1),
    ('colour not RRGGBB', ['frame', '1', '10', '10', 'colour=GG0000'], 1),
    ('colour as a COLORREF', ['frame', '1', '10', '10', 'colour=0xFF0000'], 1),
    ('size out of range', ['frame', '1', '10', '10', 'size=-1'], 1),
    ('no area', ['frame', '1', '10', '10', 'inches=0'], 1),
    ('pen out of range', ['frame', '1', '10', '10', 'pen=-1'], 1),
    ('layout not in the catalogue', ['layout', '9999', '10', '10'], 1),
]
for i, (what, words, want) in enumerate(REFUSED):
    code, out, said = render('refused%d.bmp' % i, *words)
    expect('refused "%s"' % what, code == want and not os.path.exists(out), 'exit %d (%s)' % (code, said.strip()))
code, out, said = render(os.path.join('missing', 'folder.bmp'), 'frame', '1', '10', '10')
expect('unwritable output', code == 2, 'exit %d (%s)' % (code, said.strip()))

# A registered row drawn by the renderer: made by the asset tool with its size and baked
# background from the row, then checked as committed, and found out once it differs.
tree = os.path.join(WORK, 'tree')
os.makedirs(os.path.join(tree, 'res'))
with open(os.path.join(tree, 'res', 'sugarleaf.rc'), 'w') as f:
    f.write('#define IDB_THUMB 300\nIDB_THUMB BITMAP "thumb.bmp"\n')
with open(os.path.join(tree, 'res', 'assets.csv'), 'w') as f:
    f.write('id,symbol,kind,file,size,depth,background,generator,params\n'
            '300,IDB_THUMB,bitmap,res/thumb.bmp,48x32,24,#FC9A42,render,frame 1 colour=FF0000 size=0.5\n')
tool = ['python3', os.path.join(os.path.dirname(os.path.abspath(__file__)), 'assets.py')]
where = ['--root', tree, '--wine-run', WINE_RUN, '--renderer', RENDERER]


def asset_tool(*words):
    return subprocess.run(tool + list(words) + where, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


made = asset_tool('make', 'render')
thumb = os.path.join(tree, 'res', 'thumb.bmp')
expect('render row made', made.returncode == 0 and os.path.isfile(thumb), made.stdout)
if os.path.isfile(thumb):
    width, height, pixel = read_bmp(thumb)
    expect('render row size', (width, height) == (48, 32), '%dx%d' % (width, height))
    expect('render row background', pixel(24, 16) == 'FC9A42', pixel(24, 16))
    expect('render row frame', pixel(3, 16) == 'FF0000', pixel(3, 16))
    checked = asset_tool('check', '--out', os.path.join(WORK, 'generated'))
    expect('render row checked', checked.returncode == 0, checked.stdout)
    with open(thumb, 'r+b') as f:
        f.seek(-1, 2)
        f.write(b'\x01' if f.read(1) != b'\x01' else b'\x02')
    changed = asset_tool('check', '--out', os.path.join(WORK, 'generated'))
    expect('render row changed', changed.returncode == 1 and 'res/thumb.bmp differs' in changed.stdout,
           changed.stdout)

for f in failures:
    print('FAIL: ' + f)
if failures:
    sys.exit(1)
print('renderer: %d frame pictures, 14 frame styles twice alike and all different, 2 layout pictures, PNG like BMP, '
      '%d refusals as expected, a registered row made, checked and found out when changed' % (len(FRAMES) + 1,
                                                                                              len(REFUSED) + 1))
