# Renders data/art sources to PNG contact sheets (for looking only).
import os, sys, subprocess
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib import ROOT, RGB
def load(name, cache={}):
    if name in cache: return cache[name]
    lines = [l.rstrip('\n') for l in open(os.path.join(ROOT, name + '.txt'))]
    base = None; rows = []
    for l in lines:
        if l.startswith('#') or not l: continue
        if not rows and l.startswith('base '): base = load(l[5:]); continue
        if not rows and l.startswith('scale '): continue   # shown unscaled
        rows.append(l)
    px = [[(base[y][x] if c == '.' else RGB[c]) for x, c in enumerate(r)] for y, r in enumerate(rows)]
    cache[name] = px
    return px
def ppm(name, out, scale=3):
    px = load(name); h = len(px); w = len(px[0])
    with open(out, 'wb') as f:
        f.write(b'P6 %d %d 255\n' % (w*scale, h*scale))
        for row in px:
            line = b''.join(bytes(c)*scale for c in row)
            for _ in range(scale): f.write(line)
def sheet(names, out, scale=3, tile=None):
    os.makedirs('/tmp/art/ppm', exist_ok=True)
    files = []
    for n in names:
        fn = '/tmp/art/ppm/' + n.replace('/', '_') + '.ppm'
        ppm(n, fn, scale); files.append(fn)
    labels = []
    for n, fn in zip(names, files):
        labels += ['-label', n.split('/')[-1].replace('.bmp','').replace('.gif',''), fn]
    subprocess.run(['montage'] + labels + ['-tile', tile or '8x', '-geometry', '+4+4', '-pointsize', '10', '-font', '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf', '-background', '#808080', out], check=True)
def grid(rows, out, scale=2):
    """A map made of sources: rows is a list of lists of names."""
    os.makedirs('/tmp/art/ppm', exist_ok=True)
    W = len(rows[0]) * 32; H = len(rows) * 32
    buf = bytearray(W*H*3*scale*scale)
    for ty, r in enumerate(rows):
        for tx, n in enumerate(r):
            px = load(n)
            for y in range(32):
                for x in range(32):
                    c = px[y][x]
                    for sy in range(scale):
                        for sx in range(scale):
                            X = (tx*32+x)*scale+sx; Y = (ty*32+y)*scale+sy
                            i = (Y*W*scale+X)*3; buf[i:i+3] = bytes(c)
    with open('/tmp/art/ppm/grid.ppm', 'wb') as f:
        f.write(b'P6 %d %d 255\n' % (W*scale, H*scale)); f.write(buf)
    subprocess.run(['convert', '/tmp/art/ppm/grid.ppm', out], check=True)
