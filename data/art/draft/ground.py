import os, sys; sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib import *

def pnoise(seed, terms=7, maxk=4):
    r = random.Random(seed)
    waves = [(r.randint(-maxk, maxk), r.randint(-maxk, maxk), r.uniform(0, 6.283), r.uniform(0.5, 1)) for _ in range(terms)]
    waves = [w for w in waves if (w[0], w[1]) != (0, 0)]
    def f(x, y):
        return sum(a*math.sin(6.2832*(kx*x+ky*y)/32+ph) for kx, ky, ph, a in waves) / len(waves)
    return f

def grass():
    img = Img(fill='h')
    r = random.Random(11)
    n1 = pnoise(1); n2 = pnoise(2, maxk=6)
    for y in range(32):
        for x in range(32):
            v = n1(x, y)
            if v > 0.28: img.set(x, y, 'l')
            elif v < -0.38: img.set(x, y, 'B' if n2(x, y) > 0.1 else 'h')
    # grit: dark specks and a few lit pebbles (lit top-left, shaded bottom-right)
    for _ in range(26):
        x, y = r.randrange(32), r.randrange(32); img.set(x, y, 'O')
    for _ in range(5):
        x, y = r.randrange(32), r.randrange(32)
        img.set(x, y, 't'); img.set((x+1) % 32, (y+1) % 32, 'O')
    # sparse tufts of grass, wrapping round the edges so the tile repeats seamlessly
    tufts = [(5, 9), (21, 4), (26, 20), (11, 25), (17, 15)]
    for (tx, ty) in tufts:
        blades = [(-2, 2), (-1, 3), (0, 4), (1, 3), (2, 2)]
        for i, (bx, hgt) in enumerate(blades):
            if r.random() < 0.25: continue
            for k in range(hgt):
                c = 'G' if k == 0 else ('L' if k == hgt-1 else 'g')
                img.set((tx+bx) % 32, (ty-k) % 32, c)
        img.set((tx-2) % 32, (ty+1) % 32, 'O'); img.set((tx+1) % 32, (ty+1) % 32, 'O')
    return img

def water():
    img = Img(fill='u')
    n1 = pnoise(5, maxk=3); n2 = pnoise(6, maxk=5)
    for y in range(32):
        for x in range(32):
            v = n1(x, y) + 0.4*n2(x, y)
            img.set(x, y, 'i' if v < -0.15 else 'u')
    # wavelets: short light crests with a dark trough under them
    r = random.Random(7)
    for (wx, wy, ln) in [(3, 4, 5), (18, 7, 6), (9, 14, 4), (24, 17, 5), (2, 23, 6), (15, 26, 5), (27, 29, 4)]:
        for k in range(ln):
            img.set((wx+k) % 32, wy, 'U' if 0 < k < ln-1 else 'u')
            img.set((wx+k) % 32, (wy+1) % 32, 'i')
        img.set((wx+1) % 32, wy, 'c')
    return img

def nothing():
    return Img(fill='k')

GRASS = grass(); WATER = water()

def shore(kind):
    """Lake and border pieces: land (the ground tile) meets water along a straight line or a
    quarter circle that meets the tile edges 12 pixels in from the land side, so that edge
    pieces, corner pieces and open water join up."""
    def wet(x, y):
        X, Y = x + 0.5, y + 0.5
        if kind == 'IT': return Y > 12
        if kind == 'IB': return Y < 20
        if kind == 'IL': return X > 12
        if kind == 'IR': return X < 20
        if kind == 'TOL': return math.hypot(X-32, Y-32) < 20
        if kind == 'TOR': return math.hypot(X, Y-32) < 20
        if kind == 'BOL': return math.hypot(X-32, Y) < 20
        if kind == 'BOR': return math.hypot(X, Y) < 20
        if kind == 'TIL': return math.hypot(X, Y) > 12
        if kind == 'TIR': return math.hypot(X-32, Y) > 12
        if kind == 'BIL': return math.hypot(X, Y-32) > 12
        if kind == 'BIR': return math.hypot(X-32, Y-32) > 12
    img = GRASS.copy()
    wetm = {(x, y) for y in range(32) for x in range(32) if wet(x, y)}
    def dist_to(m, x, y, want, lim=4):
        for d in range(1, lim+1):
            for dx in range(-d, d+1):
                for dy in range(-d, d+1):
                    if max(abs(dx), abs(dy)) == d:
                        X, Y = x+dx, y+dy
                        # outside the tile the line runs on straight, so mirror the test back in
                        X = min(31, max(0, X)); Y = min(31, max(0, Y))
                        if ((X, Y) in m) == want: return d
        return lim+1
    for y in range(32):
        for x in range(32):
            if (x, y) in wetm:
                d = dist_to(wetm, x, y, False, 3)
                c = WATER.p[y][x]
                if d == 1: c = 'c'
                elif d == 2: c = 'U' if (x+y) % 3 else 'u'
                img.set(x, y, c)
            else:
                d = dist_to(wetm, x, y, True, 4)
                if d == 1: img.set(x, y, 'b')
                elif d == 2: img.set(x, y, 't' if (x*7+y*3) % 5 else 's')
                elif d == 3: img.set(x, y, 't' if (x+y) % 4 else 'h')
    return img

def rock(seed, base, dark, light, darker):
    """Boulders seen from above, packed so the tile repeats: each stone lit top left."""
    img = Img(fill=darker)
    r = random.Random(seed)
    stones = []
    for gy in range(4):
        for gx in range(4):
            cx = gx*8 + 4 + r.uniform(-1.5, 1.5) + (4 if gy % 2 else 0)
            cy = gy*8 + 4 + r.uniform(-1.5, 1.5)
            stones.append((cx, cy, r.uniform(3.6, 5.0), r.uniform(3.2, 4.4)))
    for (cx, cy, rx, ry) in stones:
        for ox in (-32, 0, 32):
            for oy in (-32, 0, 32):
                m = ellipse(cx+ox, cy+oy, rx, ry)
                m = {p for p in m if 0 <= p[0] < 32 and 0 <= p[1] < 32}
                if not m: continue
                for (x, y) in m:
                    X, Y = x+0.5-(cx+ox), y+0.5-(cy+oy)
                    v = (X/rx + Y/ry)
                    c = light if v < -0.9 else (base if v < 0.5 else dark)
                    img.set(x, y, c)
    return img

def planks():
    img = Img(fill='B')
    r = random.Random(4)
    for y in range(32):
        for x in range(32):
            row = y // 8
            if y % 8 == 0: img.set(x, y, 'b'); continue
            if y % 8 == 1: img.set(x, y, 't' if x % 3 else 'B'); continue
            off = (row * 13) % 32
            if (x + off) % 32 == 0: img.set(x, y, 'b')
            elif (x + off) % 32 == 1: img.set(x, y, 't')
            elif y % 8 == 7: img.set(x, y, 'h')
            elif r.random() < 0.08: img.set(x, y, 'h')
    return img

def forest():
    """Firs packed tightly, seen from slightly above; the lower ones overlap those behind.
    Trees crossing an edge are drawn again on the far side, so the tile repeats."""
    img = Img(fill='d')
    for y in range(32):
        for x in range(32):
            if (x * 3 + y * 5) % 7 == 0: img.set(x, y, 'O')
    trees = [(5, -2, 15), (17, -5, 16), (27, 0, 14), (11, 8, 16), (23, 10, 15), (2, 15, 15), (16, 19, 16), (28, 19, 15), (8, 25, 14), (21, 27, 15)]
    for (cx, top, h) in sorted(trees, key=lambda t: t[1] + t[2]):
        for ox in (-32, 0, 32):
            for oy in (-32, 0, 32):
                draw_fir(img, cx + ox, top + oy, h)
    return img

def draw_fir(img, cx, top, h=16):
    """A fir with its tip at (cx, top): three tiers, lit on the left, a dark fringe under each."""
    tiers = 3
    rows = []
    tier_h = h // tiers
    for i in range(h):
        t = min(i // tier_h, tiers - 1)
        k = i - t * tier_h
        w = 1 + t * 1.4 + k * 1.1
        rows.append((top + i, w, k == tier_h - 1 or i == h - 1))
    body = set()
    for (y, w, _) in rows:
        for x in range(int(round(cx - w)), int(round(cx + w)) + 1): body.add((x, y))
    for (y, w, fringe) in rows:
        for x in range(int(round(cx - w)), int(round(cx + w)) + 1):
            if not (0 <= x < 32 and 0 <= y < 32): continue
            rel = (x - cx) / max(w, 1)
            c = 'g' if rel < -0.45 else ('G' if rel < 0.35 else 'e')
            if fringe: c = 'O' if rel > -0.6 else 'G'
            if (x - 1, y) not in body and rel < 0: c = 'L' if (y % 2 == 0) else 'g'
            if (x + 1, y) not in body and rel > 0: c = 'd'
            img.set(x, y, c)
    if 0 <= cx < 32 and 0 <= top < 32: img.set(cx, top, 'L')
    for y in range(top + h, top + h + 2):
        img.set(cx, y, 'b'); img.set(cx + 1, y, 'p')

if __name__ == '__main__':
    write_palette()
    T = 'Images/tiles/'
    save(T + 'imgGrass.bmp', GRASS, 'G: the one walkable floor of every map - trodden earth with sparse grass.\nRepeats seamlessly; characters and objects are drawn over it.')
    save(T + 'ImgBlack.bmp', WATER, '-: deep water. Repeats seamlessly.')
    save(T + 'imgNothing.bmp', nothing(), '_ and cells off the map or in darkness: black.')
    names = dict(TOL=('imgTOL', 'Q', 'outer corner: land above and left, water towards the bottom right'),
                 TOR=('imgTOR', 'W', 'outer corner: land above and right, water towards the bottom left'),
                 BOL=('imgBOL', 'A', 'outer corner: land below and left, water towards the top right'),
                 BOR=('imgBOR', 'S', 'outer corner: land below and right, water towards the top left'),
                 # fishing wants D or water above the hero, or F below him: so D is the bank
                 # south of the water (water above it) and F the bank north of it
                 IT=('ImgIB', 'F', 'edge: land above, water below'),
                 IB=('ImgIT', 'D', 'edge: land below, water above'),
                 IL=('ImgIL', 'E', 'edge: land left, water right'),
                 IR=('ImgIR', 'R', 'edge: land right, water left'),
                 TIL=('ImgTIL', 'T', 'inner corner: water all round but a point of land in the top left'),
                 TIR=('ImgTIR', 'Y', 'inner corner: a point of land in the top right'),
                 BIL=('ImgBIL', 'V', 'inner corner: a point of land in the bottom left'),
                 BIR=('ImgBIR', 'H', 'inner corner: a point of land in the bottom right'))
    for k, (n, ch, what) in names.items():
        save(T + n + '.bmp', shore(k), '%s: lake shore, %s.\nThe shore meets the tile edges 12 pixels from the land side.' % (ch, what))
    save(T + 'imgCave.bmp', rock(21, 'M', 'D', 'm', 'd'), 'a outside caves: solid rock, grey boulders. Repeats seamlessly.')
    save(T + 'imgCaveWall.bmp', rock(22, 'D', 'd', 'M', 'n'), 'a in caves: the cave wall, dark rock. Repeats seamlessly.')
    save(T + 'imgFloor1.bmp', planks(), 'C: a plank floor. Repeats seamlessly.')
    save(T + 'imgForest.bmp', forest(), 'Њ: dense fir forest. Repeats seamlessly.')
