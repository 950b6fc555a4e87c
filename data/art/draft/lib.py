import random, math, os
# the art folder: the sources are written beside this draft folder
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PALETTE = [('k','000000','black'),('n','222034','night'),('p','45283c','plum'),('b','663931','dark brown'),
('B','8f563b','brown'),('o','df7126','orange'),('t','d9a066','tan'),('s','eec39a','skin'),('y','fbf236','yellow'),
('L','99e550','light green'),('g','6abe30','green'),('e','37946e','sea green'),('G','4b692f','dark green'),
('O','524b24','dark olive'),('d','323c39','dark slate'),('i','3f3f74','indigo'),('u','306082','blue'),
('U','5b6ee1','royal blue'),('c','639bff','sky blue'),('C','5fcde4','cyan'),('P','cbdbfc','pale blue'),
('w','ffffff','white'),('a','9badb7','ash grey'),('m','847e87','grey'),('M','696a6a','dim grey'),
('D','595652','dark grey'),('v','76428a','violet'),('r','ac3232','red'),('R','d95763','rose'),('z','d77bba','pink'),
('l','8f974a','olive'),('h','8a6f30','ochre')]
KEYS = ''.join(k for k,_,_ in PALETTE)
RGB = {k: tuple(int(h[i:i+2],16) for i in (0,2,4)) for k,h,_ in PALETTE}
# one step darker / lighter for each colour, used for shadows and highlights on any ground
DARKER = dict(k='k',n='k',p='n',b='p',B='b',o='B',t='h',s='t',y='o',L='g',g='G',e='G',G='O',O='b',d='n',i='n',u='i',
              U='i',c='u',C='e',P='a',w='P',a='m',m='M',M='D',D='d',v='p',r='p',R='r',z='v',l='O',h='O')
LIGHTER = dict(k='n',n='d',p='v',b='B',B='t',o='y',t='s',s='w',y='w',L='y',g='L',e='g',G='g',O='h',d='D',i='u',u='U',
               U='c',c='C',C='P',P='w',w='w',a='P',m='a',M='m',D='M',v='z',r='R',R='z',z='s',l='L',h='t')

class Img:
    def __init__(self, w=32, h=32, fill='k', src=None):
        self.w, self.h = w, h
        self.p = [[fill]*w for _ in range(h)] if src is None else [row[:] for row in src.p]
        self.touched = set()   # pixels drawn on this picture (not inherited from a copy)
    def copy(self): return Img(self.w, self.h, src=self)
    def get(self, x, y):
        return self.p[y][x] if 0 <= x < self.w and 0 <= y < self.h else None
    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h and c is not None:
            self.p[y][x] = c; self.touched.add((x, y))
    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1+1):
            for x in range(x0, x1+1): self.set(x, y, c)
    def apply(self, mask, fn):
        for (x, y) in mask:
            if 0 <= x < self.w and 0 <= y < self.h: self.set(x, y, fn(self.p[y][x], x, y))
    def paint(self, mask, c):
        for (x, y) in mask: self.set(x, y, c)
    def darken(self, mask, steps=1):
        for _ in range(steps): self.apply(mask, lambda c, x, y: DARKER[c])
    def lighten(self, mask, steps=1):
        for _ in range(steps): self.apply(mask, lambda c, x, y: LIGHTER[c])
    def mirror(self):
        o = self.copy(); o.p = [row[::-1] for row in self.p]; return o
    def blit(self, other, dx=0, dy=0, skip=None):
        for y in range(other.h):
            for x in range(other.w):
                c = other.p[y][x]
                if c != skip: self.set(x+dx, y+dy, c)

def pattern(fn, w=32, h=32):
    """A picture whose every pixel is fn(x, y): bricks, shingles, planks and the like."""
    img = Img(w, h)
    for y in range(h):
        for x in range(w): img.set(x, y, fn(x, y))
    return img

# ---- masks (sets of (x, y)) ----
def ellipse(cx, cy, rx, ry):
    s = set()
    for y in range(int(cy-ry)-1, int(cy+ry)+2):
        for x in range(int(cx-rx)-1, int(cx+rx)+2):
            if ((x+0.5-cx)/rx)**2 + ((y+0.5-cy)/ry)**2 <= 1.0: s.add((x, y))
    return s
def box(x0, y0, x1, y1):
    return {(x, y) for y in range(y0, y1+1) for x in range(x0, x1+1)}
def poly(pts):
    s = set(); n = len(pts)
    ys = [p[1] for p in pts]
    for y in range(int(min(ys)), int(max(ys))+1):
        yc = y + 0.5; xs = []
        for i in range(n):
            (x0, y0), (x1, y1) = pts[i], pts[(i+1) % n]
            if (y0 <= yc < y1) or (y1 <= yc < y0):
                xs.append(x0 + (yc-y0)*(x1-x0)/(y1-y0))
        xs.sort()
        for i in range(0, len(xs)-1, 2):
            for x in range(int(math.floor(xs[i]+0.5)), int(math.floor(xs[i+1]+0.5))):
                s.add((x, y))
    return s
def line(x0, y0, x1, y1, w=1):
    s = set(); n = max(abs(x1-x0), abs(y1-y0), 1)
    for i in range(n+1):
        x = x0 + (x1-x0)*i/n; y = y0 + (y1-y0)*i/n
        for dx in range(w):
            for dy in range(w): s.add((int(round(x))+dx, int(round(y))+dy))
    return s
def mirror_mask(m, w=32): return {(w-1-x, y) for (x, y) in m}
def shift(m, dx, dy): return {(x+dx, y+dy) for (x, y) in m}
def edge_out(m):
    """Pixels just outside a mask (4-neighbourhood)."""
    s = set()
    for (x, y) in m:
        for dx, dy in ((1,0),(-1,0),(0,1),(0,-1)):
            if (x+dx, y+dy) not in m: s.add((x+dx, y+dy))
    return s

def shade(img, m, light, mid, dark, outline=None, dark2=None, inner=None):
    """Fills a shape lit from the top left: light on top/left edges, dark on bottom/right."""
    for (x, y) in m:
        up, left = (x, y-1) in m, (x-1, y) in m
        down, right = (x, y+1) in m, (x+1, y) in m
        if not up or not left: c = light
        elif not down or not right: c = dark
        elif dark2 and ((x+2, y) not in m or (x, y+2) not in m): c = dark2
        else: c = mid
        img.set(x, y, c)
    if outline:
        for p in edge_out(m):
            if inner is None or p not in inner: img.set(p[0], p[1], outline)

def shade_round(img, m, ramp, outline=None, cx=None, cy=None):
    """Shades a round body by distance from a light point up and left of its centre.
    ramp runs from lightest to darkest."""
    xs = [p[0] for p in m]; ys = [p[1] for p in m]
    x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
    lx = x0 + (x1-x0)*0.3 if cx is None else cx
    ly = y0 + (y1-y0)*0.3 if cy is None else cy
    r = max(x1-x0, y1-y0) + 1
    for (x, y) in m:
        d = math.hypot(x-lx, y-ly) / r
        i = min(len(ramp)-1, int(d * len(ramp) * 1.1))
        img.set(x, y, ramp[i])
    if outline:
        for p in edge_out(m): img.set(p[0], p[1], outline)

def outline(img, m, c):
    for p in edge_out(m): img.set(p[0], p[1], c)

def ground_shadow(img, cx, cy, rx, ry):
    img.darken(ellipse(cx, cy, rx, ry))

_made = []
def save(name, img, comment, base=None, baseimg=None, scale=1):
    rows = []
    for y in range(img.h):
        r = ''
        for x in range(img.w):
            c = img.p[y][x]
            assert c in KEYS, (name, c)
            # only ground left as it was shows through; drawn pixels stay drawn even where
            # they happen to match the ground, so that redrawing the ground cannot mar them
            r += '.' if (baseimg is not None and baseimg.p[y][x] == c and (x, y) not in img.touched) else c
        rows.append(r)
    path = os.path.join(ROOT, name + '.txt')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w') as f:
        for line in comment.strip().split('\n'): f.write('# ' + line + '\n')
        if base: f.write('base ' + base + '\n')
        if scale != 1: f.write('scale %d\n' % scale)
        for r in rows: f.write(r + '\n')
    _made.append(name)

def write_palette():
    with open(os.path.join(ROOT, 'palette.txt'), 'w') as f:
        f.write('# The one palette of every picture: key character, colour (rrggbb), name.\n')
        f.write('# The order is the colour table order of the GIF pictures.\n')
        for k, h, n in PALETTE: f.write('%s %s %s\n' % (k, h, n))
