import os, sys; sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib import *
from ground import GRASS

SKIN = ('s', 't', 'B')
OUT = 'n'

class Fig:
    """A figure as named parts; each part has a mask and a ramp (light, mid, dark)."""
    def __init__(self):
        self.own = {}       # pixel -> part index
        self.parts = []     # (mask, ramp, flat)
    def add(self, mask, ramp, flat=False):
        i = len(self.parts)
        self.parts.append((set(mask), ramp, flat))
        for p in mask:
            if 0 <= p[0] < 32 and 0 <= p[1] < 32: self.own[p] = i
        return i
    def px(self, pts, c):
        """Single pixels of one colour (eyes, details) that are not shaded."""
        self.add(set(pts), (c, c, c), flat=True)
    def mirrored(self):
        f = Fig()
        f.parts = [(mirror_mask(m), r, fl) for (m, r, fl) in self.parts]
        f.own = {(31-x, y): i for (x, y), i in self.own.items()}
        return f
    def render(self, ground, outline=OUT):
        img = ground.copy()
        union = set(self.own)
        for p in edge_out(union): img.set(p[0], p[1], outline)
        # the mask of each part as it is seen (later parts cover earlier ones)
        seen = {}
        for p, i in self.own.items(): seen.setdefault(i, set()).add(p)
        for i, m in seen.items():
            _, (lt, md, dk), flat = self.parts[i]
            if flat:
                for (x, y) in m: img.set(x, y, md)
                continue
            xs = [p[0] for p in m]; x0, x1 = min(xs), max(xs)
            w = x1 - x0 + 1
            for (x, y) in m:
                up, left, down, right = (x, y-1), (x-1, y), (x, y+1), (x+1, y)
                c = md
                if w >= 5 and x >= x1 - max(1, w // 4): c = dk
                if left not in union or up not in union: c = lt
                elif down not in union or right not in union: c = dk
                elif any(self.own.get(n, i) != i and not self.parts[self.own[n]][2] for n in (down, right)): c = dk
                elif self.own.get(up, i) != i and self.own.get(up) is not None and i > self.own.get(up): c = md
                img.set(x, y, c)
        return img

# ----- building blocks, drawn for a figure facing down (front) or right (side) -----
def person(look, facing='down'):
    side = facing in ('left', 'right')
    f = Fig()
    g = lambda k, d=None: look.get(k, d)
    cloth = g('cloth'); legs = g('legs', ('B', 'b', 'p')); boots = g('boots', ('b', 'p', 'n'))
    skin = g('skin', SKIN); hair = g('hair', ('B', 'b', 'p'))
    body = g('body', 'tunic')
    cloak = g('cloak')
    # cloak behind the body (shows at the sides in front, covers the back from behind)
    if cloak and not side:
        f.add(poly([(10, 14), (21, 14), (24, 27), (7, 27)]), cloak)
    if cloak and side:
        f.add(poly([(12, 14), (16, 14), (14, 27), (9, 27)]), cloak)
    # legs and boots
    if body in ('tunic',):
        if not side:
            f.add(box(11, 23, 14, 27), legs); f.add(box(17, 23, 20, 27), legs)
            f.add(box(10, 28, 14, 29), boots); f.add(box(17, 28, 21, 29), boots)
        else:
            f.add(box(12, 23, 14, 27), legs); f.add(box(16, 23, 18, 27), legs)
            f.add(box(11, 28, 14, 29), boots); f.add(box(16, 28, 20, 29), boots)
    else:
        if not side:
            f.add(box(11, 28, 14, 29), boots); f.add(box(17, 28, 20, 29), boots)
        else:
            f.add(box(13, 28, 15, 29), boots); f.add(box(16, 28, 19, 29), boots)
    # torso and skirt
    if not side:
        torso = box(11, 14, 20, 21) | box(10, 15, 21, 21)
        if body == 'tunic': skirt = poly([(10, 21), (22, 21), (23, 24), (9, 24)])
        elif body == 'robe': skirt = poly([(10, 21), (22, 21), (23, 29), (9, 29)])
        else: skirt = poly([(10, 20), (22, 20), (24, 29), (8, 29)])
    else:
        torso = box(12, 14, 19, 21)
        if body == 'tunic': skirt = poly([(12, 21), (20, 21), (21, 24), (11, 24)])
        elif body == 'robe': skirt = poly([(12, 21), (20, 21), (21, 29), (11, 29)])
        else: skirt = poly([(12, 20), (20, 20), (22, 29), (10, 29)])
    f.add(torso | skirt, cloth)
    if g('apron') and not (side and facing == 'up'):
        if facing == 'down': f.add(poly([(12, 19), (20, 19), (21, 28), (11, 28)]), g('apron'))
        elif side: f.add(poly([(17, 19), (20, 19), (21, 28), (18, 28)]), g('apron'))
    if g('belt'):
        b = box(10, 20, 21, 20) if not side else box(12, 20, 19, 20)
        f.add(b, (g('belt'), g('belt'), DARKER[g('belt')]))
    if g('emblem') and facing == 'down': g('emblem')(f)
    if g('back_emblem') and facing == 'up': g('back_emblem')(f)
    if cloak and facing == 'up':
        f.add(poly([(10, 14), (21, 14), (24, 27), (7, 27)]), cloak)
    # arms and hands
    sleeve = g('sleeve', cloth)
    if not side:
        f.add(box(8, 15, 9, 21) | {(9, 14)}, sleeve); f.add(box(22, 15, 23, 21) | {(22, 14)}, sleeve)
        f.add(box(8, 22, 9, 23), skin); f.add(box(22, 22, 23, 23), skin)
    else:
        f.add(box(15, 15, 17, 21), sleeve); f.add(box(15, 22, 17, 23), skin)
    # head
    hs = g('hair_style', 'short')
    if not side:
        head = ellipse(16, 9, 4.7, 5.0)
        f.add(head, skin if facing == 'down' else hair)
        if hs == 'tonsure':
            if facing == 'up':
                f.add(ellipse(16, 7, 3.2, 2.8), skin)
            else:
                f.add({p for p in head if 7 <= p[1] <= 8 and (p[0] <= 12 or p[0] >= 19)}, hair)
        if facing == 'down':
            if hs not in ('bald', 'tonsure'):
                top = {p for p in head if p[1] <= 6} | {p for p in head if p[1] <= 9 and (p[0] <= 11 or p[0] >= 20)}
                if hs == 'long': top |= box(11, 7, 11, 16) | box(20, 7, 20, 16) | box(10, 9, 10, 15) | box(21, 9, 21, 15)
                f.add(top, hair)
            f.px([(13, 9), (18, 9)], 'n')
            f.px([(14, 9), (17, 9)], 'w' if g('white_eyes') else skin[1])
            f.px([(13, 9)], g('eye', 'n')); f.px([(18, 9)], g('eye', 'n'))
        elif hs == 'long':
            f.add(box(11, 9, 20, 16) & ellipse(16, 11, 5, 7), hair)
    else:
        head = ellipse(16.5, 9, 4.5, 5.0)
        f.add(head, skin)
        if hs == 'tonsure':
            f.add({p for p in head if 7 <= p[1] <= 9 and p[0] <= 15}, hair)
        elif hs != 'bald':
            back = {p for p in head if p[1] <= 6 or p[0] <= 15}
            if hs == 'long': back |= box(12, 9, 14, 16)
            f.add(back, hair)
        f.px([(19, 9)], g('eye', 'n'))
        f.px([(21, 10)], skin[1])
    # headwear
    hw = g('head')
    if hw:
        kind, ramp = hw[0], hw[1]
        if kind == 'scarf':
            if facing == 'down':
                m = (ellipse(16, 8.5, 5.6, 5.8) | poly([(10, 9), (22, 9), (23, 17), (9, 17)])) - ellipse(16, 10.5, 3.3, 3.4)
            elif facing == 'up':
                m = ellipse(16, 8.5, 5.6, 5.8) | poly([(10, 9), (22, 9), (24, 18), (8, 18)])
            else:
                m = (ellipse(16, 8.5, 5.4, 5.8) | poly([(11, 9), (17, 9), (18, 17), (10, 18)])) - ellipse(19, 10.5, 2.6, 3.2)
            f.add(m, ramp)
        elif kind == 'hood':
            if facing == 'down':
                m = (ellipse(16, 8.5, 5.6, 6.0) | poly([(16, 1), (12, 5), (20, 5)]) | box(10, 10, 21, 15)) - ellipse(16, 10.5, 3.2, 3.4)
                f.add(m, ramp)
                f.px([(14, 8), (15, 8), (16, 8), (17, 8)], ramp[2])
            elif facing == 'up':
                f.add(ellipse(16, 8.5, 5.6, 6.0) | poly([(16, 1), (12, 5), (20, 5)]) | box(10, 10, 21, 16), ramp)
            else:
                m = (ellipse(16, 8.5, 5.4, 6.0) | poly([(13, 1), (11, 6), (17, 4)]) | box(11, 10, 17, 15)) - ellipse(19.5, 10.2, 3.1, 3.6)
                f.add(m, ramp)
        elif kind == 'helmet':
            m = poly([(16, 1), (21, 7), (11, 7)]) if not side else poly([(16, 1), (21, 7), (11, 7)])
            f.add(m | box(11, 6, 20, 7), ramp)
            if facing == 'down': f.px([(15, 8), (15, 9), (15, 10)], ramp[2])
            if side: f.px([(20, 8), (20, 9)], ramp[2])
            f.add((box(10, 11, 21, 14) - ellipse(16, 10, 3.5, 4.5)) if facing == 'down' else box(11, 11, 16, 14) if side else box(10, 8, 21, 14), ramp)
        elif kind == 'furhat':
            fur = hw[2]
            f.add(ellipse(16, 5.5, 4.5, 4.0) if not side else ellipse(16.5, 5.5, 4.3, 4.0), ramp)
            f.add(box(11, 6, 20, 7) if not side else box(12, 6, 21, 7), fur)
        elif kind == 'pointy':
            if not side: f.add(poly([(18, 0), (21, 7), (11, 7)]) | box(9, 6, 22, 7), ramp)
            else: f.add(poly([(14, 0), (21, 7), (11, 7)]) | box(10, 6, 23, 7), ramp)
        elif kind == 'cap':
            f.add(ellipse(16, 5.5, 5.0, 3.0) if not side else ellipse(16.5, 5.5, 4.8, 3.0), ramp)
        elif kind == 'crown':
            f.add(box(12, 4, 19, 6) | {(12, 3), (15, 2), (16, 2), (19, 3)}, ramp)
    beard = g('beard')
    if beard and facing == 'down': f.add(poly([(12.5, 11), (19.5, 11), (18, 16), (14, 16)]) - {(15, 11), (16, 11), (14, 11), (17, 11)}, beard)
    if beard and side: f.add(poly([(16, 11), (21, 11), (20, 16), (16, 15)]), beard)
    # held things
    hold = g('hold')
    hx = 7 if not side else 22
    if hold == 'staff':
        if facing == 'up': hx = 24
        f.add(box(hx, 4, hx, 29), ('t', 'B', 'b'))
        f.add(box(hx-1, 2, hx+1, 4), g('staff_top', ('t', 'B', 'b')))
        if g('staff_gem'): f.px([(hx, 3)], g('staff_gem'))
    elif hold == 'spear':
        if facing == 'up': hx = 24
        f.add(box(hx, 4, hx, 29), ('t', 'B', 'b'))
        f.add(poly([(hx+0.5, 0), (hx+2, 4), (hx-1, 4)]), ('P', 'a', 'm'))
    elif hold == 'sword' and facing != 'up':
        f.add(box(hx, 24, hx, 30) | box(hx+1 if not side else hx-1, 24, hx+1 if not side else hx-1, 29), ('P', 'a', 'm'))
        f.add(box(hx-1, 22, hx+2, 22) if not side else box(hx-2, 22, hx+1, 22), ('y', 'h', 'O'))
    elif hold == 'axe' and facing != 'up':
        f.add(box(hx, 12, hx, 26), ('t', 'B', 'b'))
        f.add(poly([(hx-4, 11), (hx, 12), (hx, 17), (hx-4, 18)]) if not side else poly([(hx+4, 11), (hx, 12), (hx+1, 17), (hx+4, 18)]), ('P', 'a', 'M'))
    elif hold == 'club' and facing != 'up':
        f.add(poly([(hx-1, 12), (hx+1, 12), (hx+1, 24), (hx, 24)]) | ellipse(hx + 0.5, 13, 2.2, 3), ('B', 'b', 'p'))
    elif hold == 'dagger' and facing != 'up':
        f.add(box(hx+1, 24, hx+1, 27) if not side else box(hx-1, 24, hx-1, 27), ('P', 'a', 'm'))
    elif hold == 'flask' and facing != 'up':
        f.add(ellipse(hx + 0.5, 24.5, 2.2, 2.2), g('flask_ramp', ('L', 'g', 'G')))
        f.add(box(hx, 21, hx, 22), ('a', 'a', 'm'))
    elif hold == 'bow':
        if facing == 'down':
            f.add(line(24, 10, 25, 14) | line(25, 15, 25, 23) | line(25, 24, 24, 28), ('t', 'B', 'b'))
            f.px([(23, y) for y in range(11, 28)], 'a')
        elif facing == 'up':
            f.add(line(13, 13, 20, 22), ('t', 'B', 'b'))
            f.add(box(18, 13, 19, 19), ('B', 'b', 'p'))
            f.px([(18, 12), (19, 12)], 'P')
        else:
            f.add(line(22, 11, 23, 14) | line(23, 15, 23, 22) | line(22, 23, 21, 27), ('t', 'B', 'b'))
            f.px([(21, y) for y in range(12, 27)], 'a')
    if g('quiver') and facing in ('down', 'left', 'right'):
        pass
    shield = g('shield')
    if shield and facing == 'down':
        f.add(ellipse(22.5, 20, 3.2, 4.5), shield)
        f.px([(22, 19), (23, 20)], 'y')
    elif shield and facing == 'up':
        f.add(ellipse(16, 19, 4.5, 5), shield)
    elif shield and side:
        f.add(ellipse(13, 19, 2.2, 4.5), shield)
    if facing == 'left': f = f.mirrored()
    return f

def figure_img(look, facing='down', ground=GRASS):
    img = ground.copy()
    ground_shadow(img, 16, 29.5, 7.5, 2.2)
    f = person(look, facing)
    return f.render(img)

def sash_cross(colour):
    def e(f):
        f.px([(15, y) for y in range(15, 20)] + [(16, y) for y in range(15, 20)] + [(14, 16), (17, 16)], colour)
    return e

# ----- the people of the world -----
RED = ('R', 'r', 'p'); BROWN = ('t', 'B', 'b'); GREEN = ('g', 'G', 'O'); BLACK = ('D', 'd', 'n')
WHITE = ('w', 'P', 'a'); BLUE = ('c', 'U', 'i'); MAIL = ('a', 'm', 'M'); PURPLE = ('z', 'v', 'p')
OCHRE = ('t', 'h', 'O'); GREY = ('a', 'M', 'D'); TEAL = ('C', 'e', 'G'); LINEN = ('w', 's', 't')

PEOPLE = {
    'prince': dict(cloth=RED, sleeve=RED, legs=('B', 'b', 'p'), boots=('B', 'b', 'p'), belt='y',
                   cloak=('R', 'r', 'p'), hair=('B', 'b', 'p'), head=('furhat', ('R', 'r', 'p'), ('t', 'B', 'b')),
                   hold='sword', emblem=sash_cross('y')),
    'assassin': dict(cloth=BLACK, legs=BLACK, boots=('d', 'n', 'k'), head=('hood', BLACK), hold='dagger', belt='r',
                     emblem=lambda f: f.px([(14, 16), (15, 17), (16, 18), (16, 16), (17, 17), (18, 18)], 'r')),
    'warlock': dict(cloth=BLACK, body='robe', head=('hood', BLACK), hold='staff', staff_top=('D', 'd', 'n'), staff_gem='R',
                    belt='v', eye='R', emblem=lambda f: f.px([(15, 16), (16, 16), (15, 17), (16, 17)], 'v')),
    'monk': dict(cloth=BROWN, body='robe', hair_style='tonsure', hair=('a', 'm', 'M'), beard=('P', 'a', 'm'), belt='t',
                 hold='staff', back_emblem=lambda f: f.add(poly([(11, 14), (20, 14), (18, 18), (13, 18)]), ('B', 'b', 'p')), emblem=lambda f: f.px([(16, 16), (16, 17), (16, 18), (15, 17), (17, 17)], 'y')),
    'hunter': dict(cloth=GREEN, legs=('h', 'O', 'b'), boots=('B', 'b', 'p'), belt='B', hair=('t', 'B', 'b'),
                   head=('cap', ('g', 'G', 'O')), hold='bow'),
    'women1': dict(cloth=RED, body='dress', head=('scarf', WHITE), apron=('P', 'a', 'm')),
    'women2': dict(cloth=BLUE, body='dress', head=('scarf', ('y', 'o', 'B'))),
    'women3': dict(cloth=('l', 'h', 'O'), body='dress', head=('scarf', RED), apron=('s', 't', 'h'), belt='r'),
    'boy1': dict(cloth=('w', 'P', 'a'), legs=('U', 'i', 'n'), hair=('y', 't', 'h'), belt='r',
                 emblem=lambda f: f.px([(15, 15), (15, 16), (15, 17)], 'r')),
    'boy2': dict(cloth=('c', 'u', 'i'), legs=('h', 'O', 'b'), hair=('D', 'd', 'n'), beard=('D', 'd', 'n'), belt='B'),
    'goodwiz': dict(cloth=BLUE, body='robe', head=('pointy', BLUE), beard=WHITE, hold='staff', staff_gem='C', belt='y'),
    'badwiz': dict(cloth=PURPLE, body='robe', head=('pointy', ('v', 'p', 'n')), beard=GREY, hold='staff', staff_gem='r',
                   belt='r', eye='r'),
    'volhv': dict(cloth=WHITE, body='robe', hair=WHITE, hair_style='long', beard=WHITE, hold='staff', staff_gem='y',
                  belt='r'),
    'soldier': dict(cloth=MAIL, sleeve=MAIL, legs=('r', 'p', 'n'), boots=('B', 'b', 'p'), head=('helmet', MAIL),
                    hold='spear', shield=RED, belt='b'),
    'warrior': dict(cloth=RED, sleeve=MAIL, legs=('D', 'd', 'n'), head=('helmet', MAIL), hold='sword', belt='y',
                    beard=('o', 'B', 'b'), emblem=lambda f: f.px([(x, 15) for x in range(11, 21)], 'm')),
    'redmonk': dict(cloth=RED, body='robe', head=('hood', RED), belt='y', hair=('t', 'B', 'b')),
    'kgt': dict(cloth=('r', 'p', 'n'), body='robe', head=('hood', ('r', 'p', 'n')), belt='d', eye='y',
                emblem=lambda f: f.px([(14, 17), (15, 18), (16, 17), (17, 18), (18, 17)], 'y')),
    'tramp': dict(cloth=('m', 'M', 'D'), legs=('h', 'O', 'b'), boots=('b', 'p', 'n'), hair=('a', 'm', 'M'),
                  beard=('a', 'm', 'M'), hold='staff', belt='b',
                  emblem=lambda f: f.px([(12, 17), (13, 17), (12, 18), (19, 22), (18, 22)], 'B')),
    'alchemist': dict(cloth=TEAL, body='robe', head=('cap', PURPLE), beard=GREY, hold='flask', belt='y'),
    'thief': dict(cloth=('l', 'O', 'b'), legs=BLACK, head=('hood', ('M', 'D', 'd')), hold='dagger', belt='b'),
    'berendei': dict(cloth=('t', 'h', 'b'), sleeve=('t', 'h', 'b'), legs=('B', 'b', 'p'), head=('furhat', ('d', 'n', 'k'), ('t', 'B', 'b')),
                     hold='bow', beard=('D', 'd', 'n'), belt='r'),
    'mongol': dict(cloth=('o', 'B', 'b'), legs=BLACK, head=('pointy', ('o', 'B', 'b')), hold='sword', belt='y',
                   beard=('D', 'd', 'n'), emblem=lambda f: f.px([(x, y) for x in (12, 14, 16, 18) for y in (16, 18)], 'y')),
}

if __name__ == '__main__':
    T = 'Images/tiles/'
    G = T + 'imgGrass.bmp'
    def put(name, key, facing, comment):
        save(name, figure_img(PEOPLE[key], facing), comment, base=G, baseimg=GRASS)
    dirs = [('up', 1), ('right', 2), ('down', 3), ('left', 4)]
    for face, n in dirs:
        put('Images/n%d.bmp' % n, 'warlock', face, 'The warlock (Чернокнижник) facing %s.%s' % (face, '\nAlso the tile f.' if n == 2 else ''))
        put('Images/m%d.bmp' % n, 'monk', face, 'The monk (Монах) facing %s.' % face)
        put('Images/oh%d.bmp' % n, 'hunter', face, 'The hunter (Охотник) facing %s.' % face)
    for face, ctl in [('up', 'imgUpChar'), ('down', 'imgDownChar'), ('left', 'imgLeftChar'), ('right', 'imgRightChar')]:
        put(T + ctl + '.bmp', 'prince', face, 'The prince (Князь) facing %s: the hero pictures the game screen starts with.' % face)
    put(T + 'imgAssasin.bmp', 'assassin', 'down', 'The Коготь: one picture for every direction.')
    for ctl, key, ch, what in [('imgCharWomen1', 'women1', '1', 'a woman in a white headscarf'),
                               ('imgCharWomen2', 'women2', '6', 'a woman in a yellow headscarf'),
                               ('imgCharWomen3', 'women3', '7', 'a woman in a red headscarf'),
                               ('imgCharBoy1', 'boy1', '2', 'a fair-haired young peasant'),
                               ('imgCharBoy2', 'boy2', '3', 'a dark-bearded peasant'),
                               ('imgCharGoodWizard', 'goodwiz', '4', 'a kindly wizard in blue'),
                               ('imgCharBadWizard', 'badwiz', '5', 'an evil wizard in violet'),
                               ('imgCharSoldier', 'soldier', '%', 'a soldier in mail with a red shield and a spear'),
                               ('ImgWar1', 'warrior', '.', 'a warrior in mail and red with a sword'),
                               ('imgVolhv', 'volhv', '…', 'the magus (волхв) in white with a staff'),
                               ('imgRedMonk', 'redmonk', '>', 'a monk in a red habit'),
                               ('imgKgt', 'kgt', 'V in houses', 'an acolyte of the Dragon Claw in a blood-red hood')]:
        put(T + ctl + '.bmp', key, 'down', '%s: %s.' % (ch, what))
    for fn, key, what in [('uman', 'tramp', '8: a tramp in grey rags'), ('alchem', 'alchemist', '`: an alchemist with a flask'),
                          ('trief', 'thief', 'h: a hooded thief with a knife'), ('berendei', 'berendei', '® in houses and forests: a steppe archer'),
                          ('mongol', 'mongol', 'o: a horseman of the steppe with a sabre')]:
        put('Images/%s.bmp' % fn, key, 'down', what + '.')
