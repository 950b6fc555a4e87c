import os, sys; sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib import *
from ground import GRASS, WATER, rock, planks
from people import Fig
from creatures import render

def logs():
    """A wall of horizontal logs seen from the front: each log lit above, shaded below."""
    img = Img(fill='B')
    for y in range(32):
        k = y % 6
        c = {0: 't', 1: 'B', 2: 'B', 3: 'B', 4: 'b', 5: 'p'}[k]
        for x in range(32): img.set(x, y, c)
    for y in range(32):
        if y % 6 in (1, 2, 3):
            for x in range(32):
                if (x * 7 + (y // 6) * 11) % 23 == 0: img.set(x, y, 'b')
    return img

def stone_face():
    def block(x, y):
        bx = (x + (8 if (y // 8) % 2 else 0)) % 16; by = y % 8
        if by == 7 or bx == 15: return 'D'
        if by == 0 or bx == 0: return 'a'
        if (x * 3 + y * 5) % 11 == 0: return 'm'
        return 'm' if (x + y) % 7 else 'M'
    return pattern(block)

def wall_top():
    """The walk along the top of the town wall: flagstones between merlons."""
    img = pattern(lambda x, y: 'M' if (x % 8 == 7 or y % 8 == 7) else ('a' if x % 8 == 0 or y % 8 == 0 else 'm'))
    for x0 in (0, 16):
        img.rect(x0 + 2, 0, x0 + 11, 7, 'a'); img.rect(x0 + 2, 7, x0 + 11, 8, 'D'); img.rect(x0 + 11, 0, x0 + 12, 8, 'D')
        img.rect(x0 + 2, 0, x0 + 10, 0, 'P')
    img.rect(0, 28, 31, 31, 'M'); img.rect(0, 28, 31, 28, 'a'); img.rect(0, 31, 31, 31, 'D')
    return img

def roof(ramp):
    lt, md, dk, dd = ramp
    def shingle(x, y):
        bx = (x + (4 if (y // 4) % 2 else 0)) % 8
        if y % 4 == 0: return lt
        if y % 4 == 3: return dd
        if bx == 7: return dk
        if bx == 0: return lt if y % 4 == 1 else md
        return md
    return pattern(shingle)

def plaster():
    img = pattern(lambda x, y: 't' if (x * 5 + y * 3) % 13 == 0 else ('w' if (x * 7 + y * 11) % 17 == 0 else 's'))
    # timber frame: posts at the edges, a beam at the top and the bottom
    img.rect(0, 0, 31, 2, 'B'); img.rect(0, 0, 31, 0, 't'); img.rect(0, 2, 31, 2, 'b')
    img.rect(0, 29, 31, 31, 'B'); img.rect(0, 29, 31, 29, 't'); img.rect(0, 31, 31, 31, 'b')
    img.rect(0, 0, 1, 31, 'B'); img.rect(30, 0, 31, 31, 'b'); img.rect(0, 0, 0, 31, 't')
    return img

def window(wall, frame=('t', 'B', 'b')):
    img = wall.copy()
    img.rect(9, 6, 22, 21, frame[2]); img.rect(9, 6, 22, 6, frame[0]); img.rect(9, 6, 9, 21, frame[0])
    img.rect(11, 8, 20, 19, 'c')
    img.rect(11, 8, 20, 9, 'P'); img.rect(11, 8, 12, 19, 'P')
    img.rect(15, 8, 16, 19, frame[1]); img.rect(11, 13, 20, 14, frame[1])
    img.rect(17, 15, 20, 19, 'U')
    img.rect(7, 22, 24, 23, frame[0]); img.rect(7, 23, 24, 23, frame[2])
    # shutters
    img.rect(4, 6, 7, 21, 'r'); img.rect(24, 6, 27, 21, 'r'); img.rect(4, 6, 4, 21, 'R'); img.rect(27, 6, 27, 21, 'p')
    return img

def door(wall, arch=False):
    img = wall.copy()
    m = box(8, 8, 23, 31) | (ellipse(15.5, 9, 8, 5) if arch else box(8, 6, 23, 8))
    for (x, y) in edge_out(m): img.set(x, y, 'n')
    for (x, y) in m:
        c = 'B' if (x - 8) % 4 else 'b'
        if (x - 8) % 4 == 1: c = 't'
        img.set(x, y, c)
    for y in (13, 26):
        for x in range(8, 24): img.set(x, y, 'd')
    img.set(20, 19, 'y'); img.set(20, 20, 'o'); img.set(21, 19, 'o')
    return img

# ---- the walls inside a house: a ring of wall round the room ----
CAP = 12      # how far the top of a wall reaches into its tile
def house_wall(kind):
    img = GRASS.copy()
    L = logs()
    capm = set()
    if 'L' in kind: capm |= box(0, 0, CAP - 1, 31)
    if 'R' in kind: capm |= box(32 - CAP, 0, 31, 31)
    if 'B' in kind: capm |= box(0, 32 - CAP, 31, 31)
    if 'T' in kind: capm |= box(0, 0, 31, 7)
    face = set()
    if 'T' in kind:
        face = box(0, 8, 31, 31) - capm
        for (x, y) in face: img.set(x, y, L.p[y][x])
    # shadow the wall throws on the floor, to the right and below (light from the top left)
    floor = box(0, 0, 31, 31) - capm - face
    for (x, y) in floor:
        if (x - 1, y) in capm or (x - 2, y) in capm or (x, y - 1) in face or (x, y - 1) in capm and 'T' not in kind:
            img.set(x, y, DARKER[img.p[y][x]])
    for (x, y) in capm:
        # the top of the wall: dark beams along its length, a lit edge towards the room
        horiz = ('T' in kind and y < 8) or ('B' in kind and y >= 32 - CAP and not (('L' in kind and x < CAP) or ('R' in kind and x >= 32 - CAP)))
        k = (y if horiz else x) % 4
        c = 'b' if k == 0 else ('B' if k in (1, 2) else 'p')
        img.set(x, y, c)
    for (x, y) in capm:
        nb = [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
        for (nx, ny) in nb:
            if 0 <= nx < 32 and 0 <= ny < 32 and (nx, ny) not in capm:
                img.set(x, y, 't' if (nx < x or ny < y) else 'n')
    return img

def house_exit(kind):
    """The doorway out of a house, in the bottom wall: B1 and B2 are the halves of a wide one."""
    img = house_wall('B')
    if kind == 'one': gap = (8, 23)
    elif kind == 'B1': gap = (10, 31)
    else: gap = (0, 21)
    for y in range(32 - CAP, 32):
        for x in range(gap[0], gap[1] + 1):
            img.set(x, y, 't' if (x + y) % 5 else 's')
    for y in range(32 - CAP, 32):
        if gap[0] > 0: img.set(gap[0], y, 'n'); img.set(gap[0] - 1, y, 'b')
        if gap[1] < 31: img.set(gap[1], y, 'n'); img.set(gap[1] + 1, y, 't')
    # a doormat and a worn threshold
    x0, x1 = max(gap[0] + 2, 0), min(gap[1] - 2, 31)
    img.rect(x0, 27, x1, 30, 'r'); img.rect(x0, 28, x1, 28, 'R')
    img.rect(gap[0] if gap[0] > 0 else 0, 32 - CAP, gap[1], 32 - CAP, 'h')
    return img

# ---- the world map ----
def hut(img, x, y, roof='B'):
    f = Fig()
    f.add(box(x, y + 4, x + 8, y + 10), ('t', 'B', 'b'))
    f.add(poly([(x - 2, y + 5), (x + 4.5, y - 1), (x + 11, y + 5)]), {'B': ('t', 'B', 'b'), 'h': ('s', 't', 'h'), 'r': ('R', 'r', 'p')}[roof])
    f.px([(x + 3, y + 7), (x + 4, y + 7), (x + 3, y + 8), (x + 4, y + 8)], 'n')
    f.px([(x + 6, y + 6)], 'y')
    return f.render(img)

def village():
    img = GRASS.copy()
    for (x, y) in [(3, 7), (18, 4), (10, 18)]: ground_shadow(img, x + 6, y + 11, 7, 1.5)
    img = hut(img, 3, 7, 'h'); img = hut(img, 18, 4, 'B'); img = hut(img, 10, 18, 'h')
    for x in range(0, 32, 3): img.set(x, 30, 'b'); img.set(x, 29, 'B')   # a wattle fence
    for x in range(32): img.set(x, 28, 'B' if x % 3 else 't')
    return img

def castle():
    img = GRASS.copy()
    ground_shadow(img, 17, 28, 15, 3)
    f = Fig()
    f.add(box(3, 14, 28, 28), ('t', 'B', 'b'))                   # log wall
    for x0 in (1, 23):
        f.add(box(x0, 8, x0 + 7, 28), ('t', 'B', 'b'))              # towers
        f.add(poly([(x0 - 1, 9), (x0 + 4, 1), (x0 + 9, 9)]), ('R', 'r', 'p'))
    f.add(box(11, 6, 20, 14), ('t', 'B', 'b'))                     # the keep
    f.add(poly([(10, 7), (15.5, 0), (21, 7)]), ('c', 'U', 'i'))
    f.add(box(13, 20, 18, 28) | ellipse(15.5, 20, 3, 2.5), ('d', 'n', 'k'))   # the gate
    img = f.render(img)
    for y in (17, 20, 23, 26):
        for x in range(3, 29):
            if img.get(x, y) == 'B': img.set(x, y, 'b')
    for (x, y) in [(4, 12), (26, 12), (15, 10)]: img.set(x, y, 'n')
    return img

def city():
    img = GRASS.copy()
    ground_shadow(img, 17, 28, 15, 3)
    f = Fig()
    f.add(box(2, 16, 29, 28), ('a', 'm', 'M'))                     # stone walls
    f.add(box(0, 11, 6, 28) | box(25, 11, 31, 28), ('a', 'm', 'M'))
    f.add(poly([(-1, 12), (3, 5), (7, 12)]) | poly([(24, 12), (28, 5), (32, 12)]), ('c', 'U', 'i'))
    f.add(box(9, 8, 15, 16), ('P', 'a', 'm')); f.add(ellipse(12, 7, 3.5, 3.5), ('y', 'o', 'B'))    # churches with gilded domes
    f.add(box(17, 10, 22, 16), ('P', 'a', 'm')); f.add(ellipse(19.5, 9, 3, 3), ('c', 'U', 'i'))
    f.px([(12, 1), (12, 2), (11, 2), (13, 2), (12, 3)], 'y')
    f.add(box(13, 21, 18, 28) | ellipse(15.5, 21, 3, 2.5), ('d', 'n', 'k'))
    img = f.render(img)
    for x in range(2, 30, 3): img.set(x, 15, 'a'); img.set(x + 1, 15, 'n')
    for y in (19, 23, 27):
        for x in range(7, 25):
            if img.get(x, y) in ('m',): img.set(x, y, 'M')
    return img

def church():
    img = GRASS.copy()
    ground_shadow(img, 17, 28, 12, 3)
    f = Fig()
    f.add(box(7, 15, 24, 28), ('t', 'B', 'b'))                       # log church
    f.add(poly([(5, 16), (15.5, 10), (26, 16)]), ('m', 'M', 'D'))
    f.add(box(13, 8, 18, 13), ('t', 'B', 'b'))                        # drum
    f.add(ellipse(15.5, 6.5, 4, 3.5) | poly([(15.5, 1), (13, 5), (18, 5)]), ('y', 'o', 'B'))   # onion dome
    f.px([(15, 0), (16, 0), (15, 1), (16, 1), (14, 1), (17, 1)], 'y')
    f.add(box(14, 21, 17, 28) | ellipse(15.5, 21, 2, 1.5), ('d', 'n', 'k'))
    f.px([(10, 19), (10, 20), (21, 19), (21, 20)], 'y')
    return f.render(img)

def shaft():
    img = GRASS.copy()
    m = ellipse(16, 19, 13, 10)
    for (x, y) in m: img.set(x, y, 'M' if (x * 3 + y) % 7 else 'D')
    for (x, y) in m:
        if (x - 1, y) not in m or (x, y - 1) not in m: img.set(x, y, 'a')
        elif (x + 1, y) not in m or (x, y + 1) not in m: img.set(x, y, 'D')
    for (x, y) in edge_out(m): img.set(x, y, 'n')
    img.rect(10, 14, 21, 25, 'k')
    f = Fig()
    f.add(box(8, 9, 10, 26) | box(21, 9, 23, 26), ('t', 'B', 'b'))
    f.add(box(6, 7, 25, 9), ('t', 'B', 'b'))
    f.add(box(15, 10, 15, 17), ('a', 'a', 'a'))   # the rope
    f.add(box(13, 18, 17, 20), ('B', 'b', 'p'))   # the bucket
    return f.render(img)

def fireball(direction):
    """A ball of fire flying in `direction` (dx, dy), its tail streaming behind it."""
    img = GRASS.copy()
    dx, dy = direction
    cx, cy = 16 + dx * 5, 16 + dy * 5
    for i in range(1, 8):
        r = 5.5 - i * 0.55
        tx, ty = cx - dx * i * 2.2, cy - dy * i * 2.2
        for (x, y) in ellipse(tx, ty, r, r): img.set(x, y, 'r' if i > 4 else 'o')
    for (x, y) in ellipse(cx, cy, 6, 6): img.set(x, y, 'o')
    for (x, y) in ellipse(cx - 0.8, cy - 0.8, 4, 4): img.set(x, y, 'y')
    for (x, y) in ellipse(cx - 1.5, cy - 1.5, 2, 2): img.set(x, y, 'w')
    for (x, y) in edge_out(ellipse(cx, cy, 6, 6)):
        if img.get(x, y) not in ('o', 'r', 'y', 'w'): img.set(x, y, 'r')
    return img

def arrow(direction):
    img = GRASS.copy()
    dx, dy = direction
    # drawn pointing right, then turned
    a = Img(fill='.') if False else None
    pts = {}
    for x in range(4, 27): pts[(x, 16)] = 'B'; pts[(x, 15)] = 't'
    for (x, y) in poly([(26, 12), (31, 15.5), (26, 19)]): pts[(x, y)] = 'a'
    for (x, y) in [(27, 14), (28, 15)]: pts[(x, y)] = 'P'
    for k in range(5):
        pts[(4 + k, 13 + k // 2)] = 'w'; pts[(4 + k, 18 - k // 2)] = 'P'
        pts[(5 + k, 13 + k // 2)] = 'R'; pts[(5 + k, 18 - k // 2)] = 'r'
    for (x, y), c in pts.items():
        if (dx, dy) == (1, 0): X, Y = x, y
        elif (dx, dy) == (-1, 0): X, Y = 31 - x, y
        elif (dx, dy) == (0, -1): X, Y = y, 31 - x
        else: X, Y = 31 - y, x
        img.set(X, Y, c)
    # a thin shadow below and right of the shaft
    return img

def fish():
    img = WATER.copy()
    f = Fig()
    f.add(ellipse(15, 16, 8, 3.8), ('P', 'a', 'U'))
    f.add(poly([(6, 16), (2, 11), (3, 16), (2, 21)]), ('c', 'U', 'i'))
    f.add(poly([(12, 12), (17, 9), (18, 13)]), ('c', 'U', 'i'))
    f.px([(20, 15)], 'n'); f.px([(23, 16)], 'i')
    img = f.render(img, outline='i')
    for (x, y) in [(11, 15), (13, 16), (15, 15), (17, 16)]: img.set(x, y, 'c')
    for (x, y) in [(22, 9), (24, 7), (23, 11)]: img.set(x, y, 'P')
    return img

if __name__ == '__main__':
    G = 'Images/tiles/imgGrass.bmp'; T = 'Images/tiles/'
    def put(name, img, comment): save(name, img, comment, base=G, baseimg=GRASS)
    save(T + 'imgWall2.bmp', logs(), 'z: the front of a log house. Repeats sideways and up.')
    save(T + 'imgWindow1.bmp', window(logs()), '*: the front of a log house with a shuttered window.')
    save(T + 'imgDoor1.bmp', door(logs()), '# in towns: the front of a log house with its door.')
    save(T + 'imgWallBottom.bmp', stone_face(), 'Z: the face of the stone town wall. Repeats seamlessly.')
    save(T + 'imgWallTop.bmp', wall_top(), 'X: the top of the stone town wall: merlons along the far side, flagstones on the walk.')
    save(T + 'imgBlueTop.bmp', roof(('c', 'U', 'i', 'i')), '/: a roof of blue shingles. Repeats seamlessly.')
    save(T + 'imgRedTop.bmp', roof(('R', 'r', 'p', 'p')), '\\: a roof of red tiles. Repeats seamlessly.')
    save('Images/dom1-4.bmp', plaster(), '±: the front of a clay-plastered timber-framed house.')
    save('Images/dom1-5.bmp', window(plaster(), ('t', 'B', 'b')), '‘: the front of a clay-plastered house with a window.')
    save('Images/dom1-6.bmp', door(plaster(), arch=True), '’: the front of a clay-plastered house with an arched door (a door tile).')
    walls = [('ImgTIL3', 'TL', 'U', 'top left corner'), ('ImgTIR3', 'TR', 'I', 'top right corner'),
             ('ImgBIL3', 'BL', 'J', 'bottom left corner'), ('ImgBIR3', 'BR', 'K', 'bottom right corner'),
             ('ImgIT3', 'T', 'k', 'top wall: the log face of the wall seen across the room'),
             ('ImgIB3', 'B', 'i', 'bottom wall'), ('ImgIL3', 'L', 'j', 'left wall'), ('ImgIR3', 'R', 'u', 'right wall')]
    for n, k, ch, what in walls:
        put(T + n + '.bmp', house_wall(k), '%s in houses: the wall round a room, %s.\nThe top of a wall is 12 pixels thick (8 for the top wall, whose log face fills the rest);\nthe room side shows the floor.' % (ch, what))
    put(T + 'imgHouseExit.bmp', house_exit('one'), '+: a doorway in the bottom wall of a house, the way out.')
    put(T + 'imgHouseExitB1.bmp', house_exit('B1'), '@ in houses: the left half of a wide doorway in the bottom wall.')
    put(T + 'imgHouseExitB2.bmp', house_exit('B2'), '; in houses: the right half of a wide doorway in the bottom wall.')
    put('Images/village.bmp', village(), '? on the world map: a village.')
    put('Images/castle.gif', castle(), '1 on the world map: a prince\'s wooden castle.')
    put('Images/city.bmp', city(), 'c on the world map: a walled city with churches.')
    put('Images/const.bmp', church(), 'v on the world map: a wooden church with a gilded onion dome.')
    put('Images/shaht.bmp', shaft(), '# on the world map: a mine shaft.')
    for n, d, what in [(1, (0, 1), 'down'), (2, (-1, 0), 'left'), (3, (0, -1), 'up'), (4, (1, 0), 'right')]:
        put('Images/fireball%d.bmp' % n, fireball(d), 'The fireball flying %s.' % what)
    for n, d, what in [(1, (0, -1), 'up'), (2, (1, 0), 'right'), (3, (0, 1), 'down'), (4, (-1, 0), 'left')]:
        put('Images/a%d.bmp' % n, arrow(d), 'An arrow flying %s.' % what)
    save('Images/fish.bmp', fish(), '- in towns, now and then: a fish in the water.', base=T + 'ImgBlack.bmp', baseimg=WATER)
