import os, sys; sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib import *
from ground import GRASS, WATER, pnoise, rock, planks
from people import Fig
from creatures import render

WOOD = ('t', 'B', 'b'); DWOOD = ('B', 'b', 'p'); STONE = ('a', 'm', 'M'); DSTONE = ('m', 'M', 'D')
IRON = ('m', 'D', 'd'); LEAF = ('L', 'g', 'G'); CLAY = ('o', 'B', 'b'); LINEN = ('w', 'P', 'a')

def blobs(f, circles, ramp):
    m = set()
    for (cx, cy, r) in circles: m |= ellipse(cx, cy, r, r)
    f.add(m, ramp)
    return m

def stump():
    f = Fig()
    f.add(box(10, 17, 21, 25) | ellipse(15.5, 25, 6, 2.5) | {(8, 26), (9, 25), (23, 26), (22, 25)}, DWOOD)
    f.add(ellipse(15.5, 16.5, 6, 3), ('s', 't', 't'))
    f.px([(13, 16), (14, 15), (17, 15), (18, 16), (17, 18), (14, 18)], 'h')
    f.px([(15, 16), (16, 17)], 'B')
    f.px([(12, 20), (12, 21), (19, 22), (19, 23), (15, 23)], 'p')
    return render(f, (16, 27.5, 9, 2))

def bush(berries=False):
    f = Fig()
    f.add(box(15, 24, 16, 28), DWOOD)
    blobs(f, [(10, 19, 5.5), (21, 19, 5.5), (15.5, 13, 6.5), (15.5, 21, 6.5), (9, 13.5, 3.5), (22, 13.5, 3.5)], LEAF)
    img = render(f, (16, 27.5, 11, 2.2))
    r = random.Random(3)
    for (x, y) in [(9, 14), (13, 9), (18, 10), (12, 17), (20, 15), (16, 20), (8, 20), (23, 21), (14, 24), (19, 23)]:
        img.set(x, y, 'L')
        img.set(x + 1, y + 1, 'G')
    if berries:
        for (x, y) in [(10, 12), (15, 10), (20, 12), (8, 18), (13, 16), (18, 17), (23, 18), (11, 22), (16, 23), (21, 22), (15, 14)]:
            img.set(x, y, 'r'); img.set(x + 1, y, 'r'); img.set(x, y + 1, 'p'); img.set(x + 1, y + 1, 'r'); img.set(x, y, 'R')
    return img

def weeds():
    img = GRASS.copy()
    r = random.Random(8)
    for i in range(34):
        x = r.randrange(1, 31); y = r.randrange(12, 31); h = r.randrange(6, 13)
        lean = r.choice([-1, 0, 0, 1])
        for k in range(h):
            xx = x + (lean * k) // 5
            c = 'O' if k < 2 else ('G' if k < h // 2 else ('g' if k < h - 1 else 'L'))
            img.set(xx, y - k, c)
        if r.random() < 0.3:
            img.set(x + (lean * h) // 5, y - h, 't'); img.set(x + (lean * h) // 5, y - h - 1, 'h')
    return img

def flowers():
    img = GRASS.copy()
    r = random.Random(9)
    spots = [(6, 8), (14, 5), (24, 9), (9, 17), (19, 15), (27, 18), (5, 26), (15, 24), (23, 27), (12, 11)]
    cols = ['y', 'w', 'z', 'c', 'y', 'R', 'w', 'z', 'y', 'c']
    for (x, y), c in zip(spots, cols):
        for k in range(1, 4): img.set(x, y + k, 'g' if k < 3 else 'G')
        img.set(x + 1, y + 2, 'L')
        for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)): img.set(x + dx, y + dy, c)
        img.set(x, y, 'o' if c != 'y' else 'B')
        img.set(x + 1, y + 1, DARKER[c])
    return img

def sign():
    f = Fig()
    f.add(box(15, 12, 16, 28), DWOOD)
    f.add(box(6, 5, 25, 14), WOOD)
    f.px([(x, 9) for x in range(8, 24)], 'B')
    f.px([(x, 8) for x in (8, 9, 10, 12, 13, 15, 16, 17, 19, 21, 22)] + [(x, 11) for x in (8, 9, 11, 12, 13, 15, 17, 18)], 'b')
    f.px([(7, 6), (24, 6), (7, 13), (24, 13)], 'D')
    return render(f, (16, 28.5, 5, 1.5))

def tower():
    """A round wooden watchtower seen from above: a shingled cone, lit from the top left."""
    img = GRASS.copy()
    ground_shadow(img, 18, 18, 14, 13)
    m = ellipse(16, 16, 14, 14)
    for (x, y) in m:
        ang = math.atan2(y + 0.5 - 16, x + 0.5 - 16)
        d = math.hypot(x + 0.5 - 16, y + 0.5 - 16)
        lit = math.cos(ang - math.radians(-135))        # 1 facing the light
        ring = int(d) % 4 == 0
        c = 't' if lit > 0.5 else ('B' if lit > -0.3 else 'b')
        if ring: c = DARKER[c]
        img.set(x, y, c)
    for (x, y) in edge_out(m): img.set(x, y, 'n')
    img.rect(15, 15, 16, 16, 'y'); img.set(15, 15, 'w')
    return img

def mountain(big=False):
    img = GRASS.copy()
    if big:
        peaks = [(11, 3, 1, 28), (22, 6, 8, 31)]
    else:
        peaks = [(15, 5, 2, 29), (23, 13, 12, 31)]
    ground_shadow(img, 17, 27, 15, 4)
    allm = set()
    for (px_, py, x0, x1) in sorted(peaks, key=lambda p: p[1]):
        m = poly([(px_, py), (x1 + 2, 29), (x0 - 2, 29)])
        allm |= m
        for (x, y) in m:
            c = 'a' if x < px_ - (y - py) * 0.15 else ('M' if x > px_ + (y - py) * 0.25 else 'm')
            if y < py + (7 if big else 4) and (x + y) % 5 != 0: c = 'w' if x <= px_ else 'P'
            img.set(x, y, c)
        # a few cracks and ledges
        for k in range(3):
            yy = py + 6 + k * 6
            for x in range(px_ - 3 + k, px_ + 2 + k): 
                if (x, yy) in m: img.set(x, yy, 'D')
    for (x, y) in edge_out(allm): img.set(x, y, 'n')
    return img

def cave_door():
    img = rock(22, 'D', 'd', 'M', 'n')
    arch = box(8, 10, 23, 31) | ellipse(15.5, 10, 8, 6)
    for (x, y) in edge_out(arch): img.set(x, y, 'n')
    for (x, y) in arch:
        plank = (x - 8) // 4
        c = 'B' if (x - 8) % 4 else 'b'
        if (x - 8) % 4 == 1: c = 't'
        img.set(x, y, c)
    for y in (13, 25):
        for x in range(8, 24): img.set(x, y, 'd')
        for x in (10, 15, 20): img.set(x, y, 'a')
    img.set(20, 19, 'y'); img.set(20, 20, 'o')
    return img

def cave_stairs():
    img = rock(22, 'D', 'd', 'M', 'n')
    for i in range(6):
        y0 = 28 - i * 5
        x0, x1 = 6 + i, 25 - i
        img.rect(x0, y0 - 4, x1, y0, 'M' if i % 2 else 'm')
        for x in range(x0, x1 + 1): img.set(x, y0 - 4, 'a'); img.set(x, y0, 'D')
        img.set(x0, y0 - 2, 'n'); img.set(x1, y0 - 2, 'n')
    img.rect(12, 0, 19, 2, 'P')   # daylight at the top
    return img

def upstairs():
    img = GRASS.copy()
    m = poly([(7, 4), (24, 4), (28, 30), (3, 30)])
    for (x, y) in edge_out(m): img.set(x, y, 'n')
    for (x, y) in m:
        step = (y - 4) // 4
        c = 'm' if (y - 4) % 4 == 0 else ('a' if (y - 4) % 4 == 1 else ('M' if (y - 4) % 4 < 3 else 'D'))
        img.set(x, y, c)
    for y in range(4, 31):
        for (x, y2) in [(xx, y) for xx in range(32) if (xx, y) in m][:1] + [(xx, y) for xx in range(31, -1, -1) if (xx, y) in m][:1]:
            img.set(x, y2, 'D' if x > 16 else 'P')
    return img

def entrance():
    """An arched stone doorway into the dark, set into a mound."""
    img = GRASS.copy()
    mound = ellipse(16, 20, 15, 12)
    for (x, y) in mound:
        if y < 31: img.set(x, y, 'l' if (x + y) % 6 else 'g')
    for (x, y) in mound:
        if (x - 1, y - 1) not in mound: img.set(x, y, 'L')
        elif (x + 1, y + 1) not in mound: img.set(x, y, 'G')
    arch = box(9, 13, 22, 31) | ellipse(15.5, 13, 7, 6)
    inner = box(12, 15, 19, 31) | ellipse(15.5, 15, 4, 4)
    for (x, y) in arch: img.set(x, y, 'a' if ((x + (y // 3) * 2) % 5) else 'm')
    for (x, y) in arch:
        if (x + 1, y) not in arch or (x, y + 1) not in arch: img.set(x, y, 'M')
    for (x, y) in inner: img.set(x, y, 'k' if y < 26 else 'n')
    for (x, y) in edge_out(arch): 
        if y < 31: img.set(x, y, 'n')
    for y in (27, 29): img.rect(12, y, 19, y, 'D')
    return img

def hole():
    img = GRASS.copy()
    m = ellipse(16, 17, 11, 9)
    for (x, y) in m: img.set(x, y, 'n')
    for (x, y) in edge_out(m): img.set(x, y, 'b')
    for (x, y) in edge_out(edge_out(m) | m):
        if y < 17: img.set(x, y, 'B')
    for (x, y) in ellipse(16, 18.5, 9, 6.5): img.set(x, y, 'k')
    for y in range(9, 27):
        img.set(12, y, 't'); img.set(19, y, 'B')
        if y % 3 == 0:
            for x in range(13, 19): img.set(x, y, 'h')
    return img

def campfire():
    f = Fig()
    for (cx, cy) in [(8, 24), (12, 27), (16, 28), (20, 27), (24, 24), (23, 20), (9, 20)]:
        f.add(ellipse(cx, cy, 2.2, 1.8), DSTONE)
    f.add(line(9, 25, 22, 19, 2), DWOOD); f.add(line(9, 19, 22, 25, 2), DWOOD)
    img = render(f, (16, 24, 11, 6))
    flame = poly([(16, 4), (22, 16), (21, 23), (11, 23), (10, 16)]) | poly([(11, 9), (14, 16), (9, 20)]) | poly([(21, 8), (23, 18), (18, 16)])
    for (x, y) in flame: img.set(x, y, 'r' if y > 19 else 'o')
    for (x, y) in poly([(16, 9), (19, 17), (18, 22), (13, 22), (13, 17)]): img.set(x, y, 'y')
    for (x, y) in poly([(16, 15), (17, 20), (15, 21), (15, 18)]): img.set(x, y, 'w')
    for (x, y) in [(7, 4), (24, 3), (19, 1)]: img.set(x, y, 'o')
    return img

def anvil():
    f = Fig()
    f.add(box(11, 21, 20, 28) | ellipse(15.5, 28, 5.5, 1.5), DWOOD)                  # block
    f.add(poly([(5, 10), (24, 10), (27, 12), (24, 14), (19, 14), (19, 18), (22, 21), (9, 21), (12, 18), (12, 14), (8, 14), (4, 12)]), IRON)
    f.add(box(7, 10, 23, 10), ('P', 'a', 'a'))
    f.add(line(20, 6, 26, 3, 1), WOOD)                                            # hammer handle
    f.add(box(17, 5, 20, 8), IRON)
    return render(f, (16, 28.5, 10, 2))

def meal():
    f = Fig()
    f.add(ellipse(16, 19, 13, 8), ('w', 'P', 'a'))           # a cloth spread on the ground
    f.add(ellipse(12, 18, 5, 3.5), CLAY)                     # a bowl of porridge
    f.add(ellipse(12, 17, 3.5, 1.8), ('s', 't', 't'))
    f.add(ellipse(21, 17, 4.5, 3), ('t', 'B', 'b'))          # a loaf
    f.px([(19, 16), (21, 15), (23, 16)], 's')
    f.add(box(17, 21, 20, 25) | {(21, 22), (21, 23)}, ('c', 'U', 'i'))   # a jug of water
    f.add(ellipse(9, 23, 2, 1.3), ('R', 'r', 'p'))           # an apple
    return render(f, None)

def jar():
    f = Fig()
    f.add(ellipse(16, 19, 8, 9) | box(12, 6, 19, 10), CLAY)
    f.add(box(11, 5, 20, 6), ('t', 'B', 'b'))
    f.px([(x, 16) for x in range(9, 24)], 'b')
    f.px([(x, 17) for x in range(9, 24) if x % 3 == 0], 'y')
    f.px([(12, 5), (13, 5), (14, 5), (15, 5), (16, 5), (17, 5), (18, 5), (19, 5)], 'n')
    return render(f, (16, 28, 9, 2))

def table(half):
    f = Fig()
    top = box(3, 9, 31, 21) if half == 1 else box(0, 9, 28, 21)
    legx = [5, 26] if False else ([5] if half == 1 else [26])
    for lx in legx: f.add(box(lx, 21, lx + 1, 29), DWOOD)
    f.add(box(3 if half == 1 else 0, 21, 31 if half == 1 else 28, 23), DWOOD)
    f.add(top, WOOD)
    img = render(f, None)
    for y in range(9, 22, 4):
        for x in range(32):
            if (x, y) in top and y > 9: img.set(x, y, 'B')
    if half == 1:
        for (x, y) in ellipse(16, 14, 5, 3): img.set(x, y, 'P')
        for (x, y) in ellipse(16, 14, 3, 1.6): img.set(x, y, 'o')
    else:
        img.rect(11, 11, 15, 17, 'B'); img.rect(11, 11, 15, 11, 't'); img.rect(16, 13, 16, 15, 'b')
        for (x, y) in ellipse(22, 15, 3, 2): img.set(x, y, 'y')
    return img

def bed(half):
    f = Fig()
    if half == 1:
        f.add(box(3, 6, 31, 27), DWOOD)                 # frame
        f.add(box(3, 4, 7, 29), WOOD)                   # headboard
        f.add(box(8, 9, 16, 24), LINEN)                 # pillow
        f.add(box(18, 7, 31, 26), ('R', 'r', 'p'))      # blanket
    else:
        f.add(box(0, 6, 27, 27), DWOOD)
        f.add(box(25, 5, 28, 28), WOOD)                 # footboard
        f.add(box(0, 7, 24, 26), ('R', 'r', 'p'))
    img = render(f, None)
    for x in range(32):
        for y in (11, 17, 23):
            if img.get(x, y) == 'r': img.set(x, y, 'p' if x % 4 else 'y')
    return img

def barrel():
    f = Fig()
    f.add(ellipse(16, 18, 9, 11) & box(0, 8, 31, 28), WOOD)
    f.add(ellipse(16, 8, 7.5, 2.5), ('s', 't', 'h'))
    for y in (11, 18, 25):
        f.px([(x, y) for x in range(7, 26) if (x, y) in ellipse(16, 18, 9, 11)], 'D')
    return render(f, (17, 28.5, 9, 2))

def grave():
    f = Fig()
    f.add(ellipse(16, 23, 11, 5), ('h', 'B', 'b'))
    f.add(box(15, 3, 17, 22), WOOD)
    f.add(box(10, 8, 22, 10), WOOD)
    f.add(line(12, 15, 20, 13, 1), WOOD)   # the slanted lower bar of an old cross
    img = render(f, (17, 26, 12, 3))
    for (x, y) in [(9, 22), (13, 25), (20, 21), (23, 24)]:
        img.set(x, y, 'g'); img.set(x, y - 1, 'L')
    return img

def lightning():
    img = GRASS.copy()
    for (x, y) in ellipse(16, 27, 9, 3.5): img.set(x, y, 'd')
    for (x, y) in ellipse(16, 27, 5, 2): img.set(x, y, 'n')
    pts = [(19, 0), (13, 9), (18, 11), (11, 20), (16, 21), (15, 27)]
    bolt = set()
    for a, b in zip(pts, pts[1:]): bolt |= line(a[0], a[1], b[0], b[1], 2)
    for (x, y) in edge_out(bolt): img.set(x, y, 'C')
    for (x, y) in bolt: img.set(x, y, 'w')
    for (x, y) in [(8, 24), (24, 23), (6, 28), (26, 29), (11, 22), (21, 21)]: img.set(x, y, 'y')
    return img

def heap():
    f = Fig()
    f.add(ellipse(11, 19, 6.5, 7.5) | {(10, 11), (11, 10), (12, 11)}, ('t', 'h', 'b'))     # a sack
    f.px([(9, 13), (10, 13), (11, 13), (12, 13), (13, 13)], 'b')
    f.add(line(17, 27, 27, 8, 2), ('P', 'a', 'm'))                                     # a sword
    f.add(line(16, 20, 22, 24, 1), ('y', 'h', 'O'))
    f.add(ellipse(21, 24, 5, 2.5), ('y', 'o', 'B'))                                     # coins
    img = render(f, (16, 25, 13, 3))
    for (x, y) in [(18, 24), (21, 23), (24, 24), (20, 25)]: img.set(x, y, 'w')
    return img

def stall():
    f = Fig()
    f.add(box(4, 12, 5, 29) | box(26, 12, 27, 29), DWOOD)
    f.add(box(3, 19, 28, 26), WOOD)                                 # counter
    aw = poly([(1, 4), (30, 4), (31, 12), (0, 12)])
    f.add(aw, ('w', 'P', 'a'))
    img = render(f, None)
    for (x, y) in aw:
        if (x // 4) % 2 == 0: img.set(x, y, 'r' if y < 11 else 'p')
    for (x, y) in [(x, 12) for x in range(0, 32)]:
        if (x // 4) % 2 == 0: img.set(x, y, 'r')
    for i, (cx, c) in enumerate([(8, 'R'), (11, 'y'), (14, 'L'), (18, 'R'), (22, 'o')]):
        for (x, y) in ellipse(cx, 18, 1.8, 1.6): img.set(x, y, c if (x, y) != (cx - 1, 17) else 'w')
    for x in range(4, 28): img.set(x, 20, 't')
    return img

def stove():
    f = Fig()
    f.add(box(4, 6, 27, 29), ('w', 'P', 'a'))
    f.add(box(6, 2, 12, 6), ('P', 'a', 'm'))                         # chimney
    f.add(box(10, 14, 21, 23) | ellipse(15.5, 14, 5.5, 3), ('D', 'd', 'n'))
    img = render(f, (16, 29.5, 13, 1.5))
    for (x, y) in poly([(12, 23), (20, 23), (19, 17), (16, 14), (13, 18)]): img.set(x, y, 'o' if y < 20 else 'r')
    for (x, y) in poly([(14, 23), (18, 23), (16, 18)]): img.set(x, y, 'y')
    img.rect(8, 25, 23, 25, 'a')
    return img

def crest():
    f = Fig()
    f.add(box(14, 3, 17, 27), STONE)
    f.add(box(8, 9, 23, 12), STONE)
    f.add(box(11, 5, 20, 6), STONE)
    f.add(line(11, 19, 20, 16, 1) | line(11, 20, 20, 17, 1), STONE)
    f.add(ellipse(16, 28, 6, 2.5), DSTONE)
    img = render(f, (18, 28, 10, 2.5))
    img.set(15, 10, 'y'); img.set(16, 10, 'y'); img.set(15, 11, 'o'); img.set(16, 11, 'o')
    return img

if __name__ == '__main__':
    G = 'Images/tiles/imgGrass.bmp'; T = 'Images/tiles/'
    def put(name, img, comment): save(name, img, comment, base=G, baseimg=GRASS)
    put('Images/penek.bmp', stump(), 'п: a tree stump.')
    put(T + 'imgBush.bmp', bush(), 'B: a bush (an axe fells it).')
    put(T + 'imgbushw.bmp', bush(True), '? in towns and forests: a berry bush (berries are gathered from it).')
    put(T + 'imgWeed.bmp', weeds(), '<: tall weeds.')
    put(T + 'imgFlower.bmp', flowers(), 'e: flowers in the grass.')
    put(T + 'imgSign.bmp', sign(), '0: a signpost.')
    put(T + 'imgTower.bmp', tower(), '~: the shingled cone roof of a round watchtower, seen from above.')
    put(T + 'imgMountain.bmp', mountain(), 'w (not on the world map): a rocky crag; a pickaxe breaks it for ore.')
    put(T + 'imgMountain2.bmp', mountain(True), 'w on the world map: snow-capped mountains.')
    save(T + 'imgCaveDoor.bmp', cave_door(), 'q in caves: a wooden door in the rock (the way out).')
    save(T + 'imgCaveStairs.bmp', cave_stairs(), '# in caves: steps cut in the rock leading up to daylight.')
    put('Images/upstairs.gif', upstairs(), '{: a stone staircase going up.')
    put('Images/in1.bmp', entrance(), 'q: an entrance, a stone arch into a mound.')
    put('Images/in2.bmp', hole(), 'M: a pit with a ladder going down.')
    put('Images/fire.bmp', campfire(), '•: a campfire (meat is roasted when the hero faces it).')
    put('Images/weapon2.bmp', anvil(), '&: an anvil with a hammer (needed for smithing).')
    put('Images/meal.bmp', meal(), 's: a meal laid out on a cloth.')
    put(T + 'imgJar.bmp', jar(), '!: a clay jar (it can be searched).')
    put(T + 'imgTable1.bmp', table(1), '(: the left half of a table.')
    put(T + 'imgTable2.bmp', table(2), '): the right half of a table.')
    put(T + 'imgBed1.bmp', bed(1), '[: the left half of a bed, the head with its pillow.')
    put(T + 'imgBed2.bmp', bed(2), ']: the right half of a bed, the foot.')
    put(T + 'ImgW.bmp', barrel(), ':: a barrel.')
    put(T + 'ImgW2.bmp', grave(), '†: a grave with a wooden cross.')
    put(T + 'ImgM.bmp', lightning(), 'М: a lightning bolt striking the ground (also shown while the lightning spell strikes).')
    put(T + 'Item.bmp', heap(), '9: things lying on the ground - a sack, a sword and coins.')
    put(T + 'imgLotok.bmp', stall(), '|: a market stall with an awning.')
    put('Images/cooks.bmp', stove(), '}: a whitewashed clay stove with a fire (meat is cooked when the hero faces it).')
    put('Images/crest.bmp', crest(), 'd: a stone cross. The game screen loads it as imgCrest at every new game and load.')
