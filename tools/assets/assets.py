#!/usr/bin/env python3
"""The program's resources and where they come from.

res/assets.csv registers every resource of the program's resource script (res/sugarleaf.rc
and what it includes), one row per resource: kind and id, the file it is made from, the
picture's size and depth, the colour baked in as its background, and the generator that
makes the file with that generator's parameters.

    assets.py check --out <folder> [--wine-run <wine-run> --renderer <render_assets.exe>]
        checks that every resource has its row and every row its resource, that each
        picture has the size and depth its row says, and that each generated file is what
        its generator makes now (regenerated under <folder>, compared byte for byte).
    assets.py make [--wine-run ... --renderer ...] [generator ...]
        runs the generators (all, or the ones named) over the committed files.
"""
import argparse
import csv
import os
import re
import shlex
import shutil
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
CSV_PATH = 'res/assets.csv'
RC_ROOT = 'res/sugarleaf.rc'
INCLUDE_DIRS = ['res', 'fw/res', 'fw']  # as the resource compiler is given them
COLUMNS = ['id', 'symbol', 'kind', 'file', 'size', 'depth', 'background', 'generator', 'params']

# Statement keywords of the resource script and the kind each makes.
KINDS = {
    'ICON': 'icon', 'CURSOR': 'cursor', 'BITMAP': 'bitmap', 'DIALOG': 'dialog', 'DIALOGEX': 'dialog',
    'MENU': 'menu', 'MENUEX': 'menu', 'ACCELERATORS': 'accelerators', 'TOOLBAR': 'toolbar',
    'VERSIONINFO': 'version', 'RCDATA': 'data', 'HTML': 'html', 'FONT': 'font', 'RTF': 'rtf',
}
FILE_KINDS = {'icon', 'cursor', 'bitmap', 'html', 'font', 'rtf'}
# Lines between a resource's first line and its BEGIN.
OPTIONS = {'STYLE', 'EXSTYLE', 'CAPTION', 'FONT', 'MENU', 'CLASS', 'LANGUAGE', 'CHARACTERISTICS', 'VERSION',
           'FILEVERSION', 'PRODUCTVERSION', 'FILEFLAGSMASK', 'FILEFLAGS', 'FILEOS', 'FILETYPE', 'FILESUBTYPE'}


class Problem(Exception):
    pass


# ---------------------------------------------------------------------------------------
# The resource script.

def strip_comment(line, in_block):
    """The line without // and /* */ comments (strings kept); whether a block comment
    is still open at its end."""
    out, i, quoted = [], 0, False
    while i < len(line):
        if in_block:
            end = line.find('*/', i)
            if end < 0:
                return ''.join(out), True
            i, in_block = end + 2, False
            continue
        c = line[i]
        if c == '"':
            quoted = not quoted
        elif not quoted and line.startswith('//', i):
            break
        elif not quoted and line.startswith('/*', i):
            in_block, i = True, i + 2
            continue
        out.append(c)
        i += 1
    return ''.join(out), in_block


def tokens(line):
    return re.findall(r'"(?:[^"]|"")*"|[A-Za-z_][A-Za-z0-9_]*|0[xX][0-9A-Fa-f]+[lLuU]*|-?\d+[lLuU]*|\S', line)


def number(text, defines, seen=()):
    text = text.strip()
    if text.startswith('(') and text.endswith(')'):
        text = text[1:-1].strip()
    literal = re.fullmatch(r'(-?(?:0[xX][0-9A-Fa-f]+|\d+))[lLuU]*', text)
    if literal:
        return int(literal.group(1), 0)
    if text in defines and text not in seen:
        return number(defines[text], defines, seen + (text,))
    return None


class Resource:
    def __init__(self, kind, rid, symbol, file, rc, line):
        self.kind, self.id, self.symbol, self.file, self.rc, self.line = kind, rid, symbol, file, rc, line

    def where(self):
        return '%s:%d' % (self.rc, self.line)


class ScriptReader:
    """Reads the resource statements of a script and the scripts and headers it includes."""

    def __init__(self):
        self.defines = {}
        self.resources = []
        self.pending = []  # (kind, symbol text, file, rc, line) until every header is read

    def find(self, name, base):
        for folder in [base] + [os.path.join(ROOT, d) for d in INCLUDE_DIRS]:
            path = os.path.normpath(os.path.join(folder, name))
            if os.path.isfile(path):
                return path
        return None

    def read(self, path):
        rel = os.path.relpath(path, ROOT)
        base = os.path.dirname(path)
        depth, header, strings, in_block = 0, None, False, False
        active = []  # one bool per open #if
        with open(path, encoding='cp1252') as f:
            lines = f.read().split('\n')
        for number_, raw in enumerate(lines, 1):
            line, in_block = strip_comment(raw, in_block)
            text = line.strip()
            if not text:
                continue
            where = '%s:%d' % (rel, number_)
            if text.startswith('#'):
                words = text[1:].split(None, 2)
                word = words[0] if words else ''
                if word == 'endif':
                    active.pop()
                elif word == 'else':
                    active[-1] = not active[-1]
                elif word in ('ifdef', 'ifndef'):
                    active.append((words[1] in self.defines) == (word == 'ifdef'))
                elif not all(active):
                    continue
                elif word == 'include':
                    name = words[1] + (' ' + words[2] if len(words) > 2 else '')
                    if name.startswith('<'):
                        continue  # the system's headers define no resource of ours
                    found = self.find(name.strip('"'), base)
                    if found is None:
                        raise Problem('%s: cannot find included %s' % (where, name))
                    self.read(found)
                elif word == 'define':
                    self.defines[words[1]] = words[2] if len(words) > 2 else ''
                elif word in ('pragma', 'undef', 'error'):
                    pass
                else:
                    raise Problem('%s: preprocessor line not understood: %s' % (where, text))
                continue
            if not all(active) or path.endswith('.h'):
                continue
            toks = tokens(text)
            opens = sum(1 for t in toks if t in ('BEGIN', '{'))
            closes = sum(1 for t in toks if t in ('END', '}'))
            if depth == 0 and opens == 0:
                head = toks[0]
                if head == 'STRINGTABLE':
                    header, strings = 'STRINGTABLE', True
                elif len(toks) > 1 and toks[1] in KINDS:
                    kind = KINDS[toks[1]]
                    file = None
                    if kind in FILE_KINDS:
                        quoted = [t for t in toks[2:] if t.startswith('"')]
                        if not quoted:
                            raise Problem('%s: %s without a file' % (where, toks[1]))
                        file = self.find(quoted[-1][1:-1], base)
                        if file is None:
                            raise Problem('%s: cannot find %s' % (where, quoted[-1]))
                        file = os.path.relpath(file, ROOT)
                    else:
                        header = toks[1]
                    self.pending.append((kind, head, file, rel, number_))
                elif header is not None and head in OPTIONS:
                    pass
                elif head == 'LANGUAGE':
                    pass
                else:
                    raise Problem('%s: line not understood: %s' % (where, text))
            elif depth == 1 and strings and opens == 0 and closes == 0:
                if not toks[0].startswith('"'):
                    self.pending.append(('string', toks[0], None, rel, number_))
            depth += opens - closes
            if depth < 0:
                raise Problem('%s: END without BEGIN' % where)
            if opens and depth == 1:
                header = None
            if depth == 0 and closes:
                strings = False
        if depth != 0 or active:
            raise Problem('%s: a block or #if is left open at the end' % rel)

    def finish(self):
        for kind, symbol, file, rc, line in self.pending:
            if symbol.startswith('"'):
                # A resource known by name ("IDC_HAND"): the row's id is the name.
                self.resources.append(Resource(kind, symbol[1:-1], '', file or rc, rc, line))
                continue
            rid = number(symbol, self.defines)
            if rid is None:
                raise Problem('%s:%d: %s has no numeric #define (a named resource would not load by id)'
                              % (rc, line, symbol))
            if re.fullmatch(r'-?\d+', symbol):
                symbol = ''
            self.resources.append(Resource(kind, rid, symbol, file or rc, rc, line))
        return self.resources


def read_script():
    reader = ScriptReader()
    reader.read(os.path.join(ROOT, RC_ROOT))
    return reader.finish()


# ---------------------------------------------------------------------------------------
# Pictures: size and depth from the file's own headers.

def png_size(data, at=0):
    if data[at:at + 8] != b'\x89PNG\r\n\x1a\n':
        return None
    w, h, bits, colour = struct.unpack('>IIBB', data[at + 16:at + 26])
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour, 0)
    return '%dx%d' % (w, h), str(bits * channels)


def dib_size(data, at, halved):
    size = struct.unpack_from('<I', data, at)[0]
    if size == 12:
        w, h, _, bits = struct.unpack_from('<HHHH', data, at + 4)
    else:
        w, h, _, bits = struct.unpack_from('<iiHH', data, at + 4)
    h = abs(h) // 2 if halved else abs(h)
    return '%dx%d' % (w, h), str(bits)


def picture_size(path):
    """(size, depth) as the CSV writes them, several images separated by spaces; None
    for a file that is not a picture this check reads."""
    with open(path, 'rb') as f:
        data = f.read()
    ext = os.path.splitext(path)[1].lower()
    if ext == '.png':
        return png_size(data)
    if ext == '.bmp':
        if data[:2] != b'BM':
            raise Problem('%s: not a BMP file' % path)
        return dib_size(data, 14, False)
    if ext in ('.ico', '.cur'):
        _, kind, count = struct.unpack_from('<HHH', data, 0)
        if kind not in (1, 2) or count == 0:
            raise Problem('%s: not an icon or cursor file' % path)
        sizes, depths = [], []
        for i in range(count):
            offset = struct.unpack_from('<I', data, 6 + 16 * i + 12)[0]
            size, depth = png_size(data, offset) or dib_size(data, offset, True)
            sizes.append(size)
            depths.append(depth)
        return ' '.join(sizes), ' '.join(depths)
    return None


# ---------------------------------------------------------------------------------------
# Generators.  A batch generator draws all its files at once under a root folder laid out
# as the repository; a per-row generator draws one row's file from the row's params.

def windows_path(path):
    # The prefix's drive Z: is the Unix root.
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def render_command(row, out, tools):
    if not tools.get('renderer'):
        raise Problem('%s: the "render" generator needs --wine-run and --renderer' % row['file'])
    words = shlex.split(row['params'])
    if len(words) < 2 or not re.fullmatch(r'\d+x\d+', row['size']):
        raise Problem('%s: a "render" row names "frame|layout|paper <n>" in params and one WxH size' % row['file'])
    w, h = row['size'].split('x')
    extra = ['background=' + row['background'][1:]] if row['background'].startswith('#') else []
    return [tools['wine_run'], tools['renderer'], words[0], words[1], w, h, windows_path(out)] + extra + words[2:]


BATCH = {
    'templates': lambda root, tools: ['python3', os.path.join(HERE, 'make_templates.py'),
                                      os.path.join(root, 'res', 'templates')],
    'cursors': lambda root, tools: ['python3', os.path.join(HERE, 'make_cursors.py'),
                                    os.path.join(root, 'res', 'cursors')],
    'splash': lambda root, tools: ['bash', os.path.join(HERE, 'make_splash.sh'),
                                   os.path.join(root, 'res', 'splash.bmp'), os.path.join(root, 'res', 'app.ico')],
    'helpicon': lambda root, tools: ['bash', os.path.join(HERE, 'make_help_icon.sh'),
                                     os.path.join(root, 'res', 'periphery_help.ico')],
}
def skin_command(row, out, tools):
    return ['python3', os.path.join(HERE, 'make_skin.py'), out, row['size'], row['background']] + \
        shlex.split(row['params'])


PER_ROW = {
    'render': render_command,
    'skin': skin_command,
}
# Not generated: 'rc' (written in the resource script itself), 'hand' (a committed file
# drawn by hand).
PLAIN = {'rc', 'hand'}


def run(command):
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if done.returncode != 0:
        raise Problem('%s failed (exit %d):\n%s' % (' '.join(command), done.returncode, done.stdout))


def generate(rows, root, tools, names=None, fresh=True):
    """Runs the generators of the rows into root; per batch generator, the set of files
    (relative to root) it wrote."""
    written = {}
    for name in sorted({r['generator'] for r in rows if r['generator'] in BATCH}):
        if names and name not in names:
            continue
        target = os.path.join(root, name) if fresh else root
        if fresh:
            shutil.rmtree(target, ignore_errors=True)
            os.makedirs(os.path.join(target, 'res'))
        run(BATCH[name](target, tools))
        if fresh:
            written[name] = {os.path.relpath(os.path.join(d, f), target)
                             for d, _, files in os.walk(target) for f in files}
    for row in rows:
        if row['generator'] in PER_ROW and (not names or row['generator'] in names):
            out = os.path.join(root, row['generator'], row['file']) if fresh else os.path.join(root, row['file'])
            os.makedirs(os.path.dirname(out), exist_ok=True)
            if fresh and os.path.exists(out):
                os.remove(out)
            run(PER_ROW[row['generator']](row, out, tools))
    return written


# ---------------------------------------------------------------------------------------
# The registry.

def read_rows():
    with open(os.path.join(ROOT, CSV_PATH), newline='') as f:
        reader = csv.DictReader(f)
        if reader.fieldnames != COLUMNS:
            raise Problem('%s: the columns are %s, expected %s' % (CSV_PATH, reader.fieldnames, COLUMNS))
        rows = list(reader)
    for n, row in enumerate(rows, 2):
        row['line'] = n
        for key in COLUMNS:
            row[key] = (row[key] or '').strip()
    return rows


def check_row(row, problems):
    where = '%s:%d' % (CSV_PATH, row['line'])
    gen, background = row['generator'], row['background']
    if gen not in BATCH and gen not in PER_ROW and gen not in PLAIN:
        problems.append('%s: unknown generator "%s"' % (where, gen))
    if gen in BATCH and row['params']:
        problems.append('%s: the "%s" generator takes no params (they would be ignored)' % (where, gen))
    if background and background not in ('mask', 'alpha') and not re.fullmatch(r'#[0-9A-F]{6}', background):
        problems.append('%s: background "%s" is not #RRGGBB (upper case), mask or alpha' % (where, background))
    path = os.path.join(ROOT, row['file'])
    if not os.path.isfile(path):
        problems.append('%s: no file %s' % (where, row['file']))
        return
    if row['file'].endswith('.rc'):
        if gen != 'rc':
            problems.append('%s: a resource written in %s has generator "rc"' % (where, row['file']))
        return
    if gen == 'rc':
        problems.append('%s: %s is a file of its own, not written in the script' % (where, row['file']))
    measured = picture_size(path)
    if measured is None:
        if row['size'] or row['depth']:
            problems.append('%s: cannot read the size of %s' % (where, row['file']))
    elif (row['size'], row['depth']) != measured:
        problems.append('%s: %s is %s at depth %s, the row says %s at depth %s'
                        % (where, row['file'], measured[0], measured[1], row['size'] or '-', row['depth'] or '-'))


def row_key(row):
    """The resource a row names: its kind and its number, or its name for a named one."""
    rid = number(row['id'], {})
    return row['kind'], rid if rid is not None else row['id']


def check(args):
    problems = []
    resources = read_script()
    if not resources:
        raise Problem('no resource found in %s' % RC_ROOT)
    rows = read_rows()
    tools = {'wine_run': args.wine_run, 'renderer': args.renderer}

    by_key = {}
    for row in rows:
        key = row_key(row)
        if key in by_key:
            problems.append('%s:%d: a second row for %s %s' % (CSV_PATH, row['line'], row['kind'], row['id']))
        by_key[key] = row
        check_row(row, problems)
    found = set()
    for res in resources:
        key = (res.kind, res.id)
        if key in found:
            problems.append('%s: a second %s with id %s' % (res.where(), res.kind, res.id))
        found.add(key)
        row = by_key.get(key)
        if row is None:
            problems.append('%s: %s %s (%s) has no row in %s' % (res.where(), res.kind, res.id, res.symbol, CSV_PATH))
        elif (row['symbol'], row['file']) != (res.symbol, res.file):
            problems.append('%s:%d: %s %s is %s from %s in the script, the row says %s from %s'
                            % (CSV_PATH, row['line'], res.kind, res.id, res.symbol, res.file, row['symbol'],
                               row['file']))
    for key, row in by_key.items():
        if key not in found:
            problems.append('%s:%d: no %s with id %s in the resource script' % (CSV_PATH, row['line'], *key))

    # Regenerate into the build folder and compare with what is committed.
    compared = 0
    try:
        written = generate(rows, args.out, tools)
    except Problem as e:
        problems.append(str(e))
        written = None
    if written is not None:
        for name, files in written.items():
            registered = {r['file'] for r in rows if r['generator'] == name}
            for extra in sorted(files - registered):
                problems.append('generator "%s" makes %s, which no row registers' % (name, extra))
        for row in rows:
            gen = row['generator']
            if gen not in BATCH and gen not in PER_ROW:
                continue
            made = os.path.join(args.out, gen, row['file'])
            committed = os.path.join(ROOT, row['file'])
            if not os.path.isfile(made):
                problems.append('%s:%d: generator "%s" did not make %s' % (CSV_PATH, row['line'], gen, row['file']))
            elif os.path.isfile(committed):
                with open(made, 'rb') as a, open(committed, 'rb') as b:
                    if a.read() != b.read():
                        problems.append('%s differs from what generator "%s" makes now (%s); run '
                                        'tools/assets/assets.py make %s' % (row['file'], gen, made, gen))
                compared += 1

    for p in problems:
        print('FAIL: ' + p)
    if problems:
        return 1
    print('%d resources, each with its row; %d generated files as their generators make them'
          % (len(resources), compared))
    return 0


def make(args):
    rows = read_rows()
    unknown = [n for n in args.generators if n not in BATCH and n not in PER_ROW]
    if unknown:
        raise Problem('no generator %s (there are %s)' % (', '.join(unknown), ', '.join(sorted({**BATCH, **PER_ROW}))))
    generate(rows, ROOT, {'wine_run': args.wine_run, 'renderer': args.renderer}, set(args.generators), fresh=False)
    return 0


def main():
    global ROOT
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest='command', required=True)
    for name in ('check', 'make'):
        p = sub.add_parser(name)
        p.add_argument('--root', default=ROOT, help='the source tree (default: this one)')
        p.add_argument('--wine-run', help="the build's wine-run script (for the renderer)")
        p.add_argument('--renderer', help='render_assets.exe of the build')
        if name == 'check':
            p.add_argument('--out', required=True, help='folder to regenerate into')
        else:
            p.add_argument('generators', nargs='*')
    args = parser.parse_args()
    ROOT = os.path.abspath(args.root)
    try:
        return check(args) if args.command == 'check' else make(args)
    except Problem as e:
        print('FAIL: ' + str(e))
        return 1


if __name__ == '__main__':
    sys.exit(main())
