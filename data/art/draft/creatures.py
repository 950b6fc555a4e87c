import os, sys; sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib import *
from ground import GRASS
from people import Fig, person, figure_img, PEOPLE, BLACK, MAIL, RED

def quad(body, head, legs_far, legs_near, extra=(), fur=('a', 'm', 'M'), far=None):
    f = Fig()
    far = far or (fur[1], fur[2], DARKER[fur[2]])
    for m in legs_far: f.add(m, far)
    for m, ramp in extra:
        if ramp == 'behind': continue
    f.add(body, fur)
    for m in legs_near: f.add(m, fur)
    f.add(head, fur)
    for m, ramp in extra: f.add(m, ramp)
    return f

def wolf(fur, eye, big=0):
    b = big
    body = ellipse(14, 17, 8.5 + b, 4.5 + b*0.6)
    head = ellipse(22.5 + b*0.5, 13 - b*0.5, 3.8 + b*0.3, 3.5 + b*0.3) | poly([(24, 12 - b*0.5), (29 + b*0.5, 13.5 - b*0.5), (29 + b*0.5, 15.5 - b*0.5), (23, 16.5 - b*0.5)])
    ears = poly([(19.5, 8 - b), (21.5, 11 - b*0.5), (19, 11.5 - b*0.5)]) | poly([(22.5, 8 - b), (24, 11 - b*0.5), (21.5, 11 - b*0.5)])
    tail = poly([(7, 14), (5, 15), (2, 21), (3, 23), (5, 22), (7, 17)])
    y1 = 27 + (1 if b else 0)
    legs_far = [box(10, 20, 11, y1 - 1), box(19, 20, 20, y1 - 1)]
    legs_near = [box(7, 20, 8, y1), box(17, 20, 18, y1)]
    f = Fig()
    dark = (fur[1], fur[2], DARKER[fur[2]])
    f.add(tail, fur)
    for m in legs_far: f.add(m, dark)
    f.add(body, fur)
    f.add(ears, fur)
    for m in legs_near: f.add(m, fur)
    f.add(head, fur)
    f.px([(22 + int(b*0.5), 12 - int(b*0.5))], eye)
    f.px([(29 + int(b*0.5), 13 - int(b*0.5) + 1)], 'n')
    f.px([(x, 17) for x in range(25, 29)], DARKER[fur[2]])  # the mouth line
    if b: f.px([(26, 17), (28, 17)], 'w')
    return f

def render(f, shadow=(15, 28.5, 10, 2.2), ground=GRASS):
    img = ground.copy()
    if shadow: ground_shadow(img, *shadow)
    return f.render(img)

def dog():
    f = Fig()
    fur = ('t', 'B', 'b')
    f.add(poly([(6, 16), (4, 11), (5, 10), (8, 15)]), fur)      # tail up
    f.add(box(10, 20, 11, 26), ('B', 'b', 'p')); f.add(box(19, 20, 20, 26), ('B', 'b', 'p'))
    f.add(ellipse(14, 18, 7.5, 3.8), fur)
    f.add(box(7, 20, 8, 27), fur); f.add(box(17, 20, 18, 27), fur)
    f.add(ellipse(22, 14, 3.6, 3.4) | poly([(23, 13), (28, 14), (28, 16.5), (22, 17)]), fur)
    f.add(poly([(19, 11), (21, 11), (21, 17), (19, 16)]), ('b', 'b', 'p'))   # floppy ear
    f.px([(23, 13)], 'n'); f.px([(28, 14)], 'n')
    f.px([(x, 17) for x in range(24, 28)], 'b')
    f.px([(18, 19), (19, 19), (20, 19)], 'r')   # collar
    return render(f, (15, 28.5, 9, 2))

def chicken():
    f = Fig()
    body = ellipse(15, 19, 6.5, 5)
    f.add(poly([(9, 14), (7, 12), (9, 17)]) | poly([(10, 15), (8, 11), (11, 14)]), ('M', 'D', 'd'))  # tail feathers
    f.add(box(14, 24, 14, 27) | box(17, 24, 17, 27) | {(13, 27), (15, 27), (16, 27), (18, 27)}, ('y', 'o', 'B'))
    f.add(body, ('w', 'P', 'a'))
    f.add(ellipse(20, 12.5, 2.8, 3.0) | box(19, 14, 21, 17), ('w', 'P', 'a'))
    f.add({(19, 9), (20, 9), (20, 8), (21, 9), (21, 10)}, ('R', 'r', 'r'))  # comb
    f.add({(23, 12), (24, 13), (23, 13)}, ('y', 'o', 'o'))   # beak
    f.px([(21, 12)], 'n'); f.px([(21, 15), (22, 15)], 'r')
    f.add(ellipse(14, 19, 3.5, 2.2), ('P', 'a', 'm'))  # wing
    return render(f, (15, 27.5, 6, 1.6))

def sheep(frame):
    f = Fig()
    lift = [(0, 0, 0, 0), (1, 0, 0, 1), (0, 1, 1, 0), (0, 0, 0, 0)][frame]
    headdy = [0, 0, 1, 3][frame]
    wool = ('w', 'P', 'a'); dark = ('M', 'D', 'd')
    xs = [9, 12, 18, 21]
    for i, x in enumerate(xs):
        f.add(box(x, 22, x, 27 - lift[i]) | {(x + 1, 27 - lift[i])}, dark)
    blob = set()
    for (cx, cy, r) in [(9, 15, 3.6), (13, 13, 3.8), (18, 13, 3.8), (22, 15, 3.4), (10, 19, 3.6), (15, 19, 4.2), (20, 19, 3.8), (15, 15, 5)]:
        blob |= ellipse(cx, cy, r, r * 0.95)
    f.add(blob, wool)
    f.add(ellipse(25, 15 + headdy, 3.0, 2.6) | poly([(25, 13 + headdy), (29, 15 + headdy), (28, 18 + headdy), (24, 18 + headdy)]), dark)
    f.add({(23, 13 + headdy), (22, 14 + headdy), (23, 14 + headdy)}, dark)   # ear
    f.px([(26, 15 + headdy)], 'w' if frame != 1 else 'D')
    f.px([(26, 14 + headdy)], 'P')   # a tuft of wool on the head
    for (x, y) in [(11, 13), (16, 12), (19, 17), (12, 18), (8, 16), (17, 21)]:
        f.px([(x, y)], 'a')
    return render(f, (15, 27.5, 9, 2))

def spider(frame):
    f = Fig()
    body = ('v', 'p', 'n'); leg = ('M', 'D', 'n')
    wig = [(0, 0, 0, 0), (1, -1, 1, -1), (-1, 1, -1, 1), (1, 1, -1, -1)][frame]
    legs = set()
    # four legs a side, each a bent line: hip, knee up and out, foot down
    for i, (hy, kx, ky, fx, fy) in enumerate([(13, 9, 7, 3, 12), (15, 7, 11, 2, 18), (17, 7, 17, 3, 25), (19, 9, 21, 5, 29)]):
        d = wig[i]
        for side in (-1, 1):
            hx = 16 + side * 2
            kxx = 16 + side * (16 - kx) + (d if side < 0 else -d)
            fxx = 16 + side * (16 - fx)
            legs |= line(hx, hy, kxx, ky + d) | line(kxx, ky + d, fxx, fy - abs(d))
    f.add(legs, leg)
    f.add(ellipse(16, 21, 6.5, 6.5), body)          # abdomen
    f.add(ellipse(16, 13, 4.2, 3.6), body)          # head
    f.px([(14, 20), (15, 19), (16, 19), (17, 20), (15, 21), (16, 21), (15, 23), (16, 23), (16, 24), (15, 24)], 'r')
    f.px([(14, 12), (17, 12)], 'y'); f.px([(15, 12), (18, 12)], 'r')
    f.px([(14, 16), (17, 16)], 'a')                 # fangs
    return render(f, (16, 28, 10, 2.5))

def tvar(frame):
    """A hunched, clawed night creature: grey-green hide, long arms, burning eyes."""
    f = Fig()
    hide = ('M', 'D', 'd'); dark = ('D', 'd', 'n')
    arm = [(0, 0), (1, -1), (0, 1), (-1, 0)][frame]
    hd = [0, 1, 0, -1][frame]
    f.add(box(11, 22, 13, 28) | {(10, 28)}, dark); f.add(box(18, 22, 20, 28) | {(21, 28)}, dark)
    f.add(ellipse(16, 17, 7.5, 7), hide)                       # hunched back
    f.add(poly([(8, 14), (10, 14), (8 + arm[0], 26 + arm[1]), (5 + arm[0], 26 + arm[1])]), hide)
    f.add(poly([(22, 14), (24, 14), (27 - arm[0], 26 - arm[1]), (24 - arm[0], 26 - arm[1])]), hide)
    f.add({(4 + arm[0], 27 + arm[1]), (6 + arm[0], 28 + arm[1]), (8 + arm[0], 27 + arm[1])}, ('P', 'a', 'a'))
    f.add({(24 - arm[0], 27 - arm[1]), (26 - arm[0], 28 - arm[1]), (28 - arm[0], 27 - arm[1])}, ('P', 'a', 'a'))
    f.add(ellipse(16, 10 + hd, 4.5, 4), hide)
    f.px([(13, 10 + hd), (14, 10 + hd), (17, 10 + hd), (18, 10 + hd)], 'y')
    f.px([(14, 10 + hd), (18, 10 + hd)], 'o')
    f.px([(14, 13 + hd), (16, 13 + hd), (18, 13 + hd)], 'w')  # teeth
    f.px([(15, 13 + hd), (17, 13 + hd)], 'n')
    for (x, y) in [(12, 16), (15, 15), (19, 16), (14, 19), (18, 20)]: f.px([(x, y)], 'v')
    return render(f, (16, 28.5, 10, 2))

def bear():
    f = Fig()
    fur = ('B', 'b', 'p'); far = ('b', 'p', 'n')
    f.add(box(6, 22, 9, 28), far); f.add(box(20, 22, 23, 28), far)
    f.add(ellipse(14, 16, 11, 8), fur)
    f.add(box(3, 22, 7, 29), fur); f.add(box(16, 22, 20, 29), fur)
    f.add(ellipse(24, 12, 5.5, 5), fur)
    f.add(ellipse(20.5, 7.5, 1.8, 1.8) | ellipse(26.5, 7.5, 1.8, 1.8), fur)
    f.add(ellipse(28, 14, 2.8, 2.2), ('t', 'B', 'b'))         # muzzle
    f.px([(30, 13)], 'n'); f.px([(25, 11)], 'n'); f.px([(26, 11)], 'r')
    f.px([(3, 29), (5, 29), (7, 29), (16, 29), (18, 29), (20, 29)], 'P')   # claws
    return render(f, (15, 29.5, 14, 2))

def skeleton():
    f = Fig()
    bone = ('w', 'P', 'a')
    f.add(box(12, 22, 13, 28) | box(18, 22, 19, 28) | {(11, 28), (20, 28)}, bone)  # legs
    f.add(box(11, 20, 20, 21), bone)                                    # pelvis
    f.add(box(15, 13, 16, 20), bone)                                    # spine
    for y in (14, 16, 18):
        f.add(box(11, y, 20, y), bone)                                  # ribs
    f.add(box(8, 14, 9, 22) | box(22, 14, 23, 22), bone)                # arms
    f.add(ellipse(16, 8, 4.6, 4.6) | box(13, 11, 18, 13), bone)         # skull
    f.px([(13, 8), (14, 8), (17, 8), (18, 8), (14, 9), (17, 9)], 'n')
    f.px([(15, 10), (16, 10)], 'd')
    f.px([(14, 12), (16, 12), (18, 12)], 'D')
    f.add(box(6, 20, 6, 29) | box(5, 21, 5, 28), ('P', 'a', 'm'))       # a rusty sword
    f.add(box(4, 19, 8, 19), ('o', 'B', 'b'))
    return render(f, (16, 29.5, 7, 2))

MON = dict(
    orc=dict(cloth=('B', 'b', 'p'), sleeve=('L', 'g', 'G'), skin=('L', 'g', 'G'), legs=('D', 'd', 'n'), hair_style='bald',
             hold='club', belt='D', eye='r', white_eyes=False,
             emblem=lambda f: f.px([(13, 12), (18, 12)], 'w')),
    orc2=dict(cloth=('D', 'd', 'n'), sleeve=('g', 'G', 'O'), skin=('g', 'G', 'O'), legs=('r', 'p', 'n'), head=('helmet', ('M', 'D', 'd')),
              hold='axe', belt='r', eye='y', shield=('D', 'd', 'n'),
              emblem=lambda f: f.px([(13, 12), (18, 12)], 'w')),
)

def dragon():
    """Чёрный Дождь: a black dragon seen from the side, his wing raised over his back, horned,
    with burning eyes and a red ridge."""
    f = Fig()
    hide = ('D', 'd', 'n'); far = ('d', 'n', 'n'); wing = ('v', 'v', 'p'); horn = ('P', 'a', 'm')
    # the wing: a bony arm from the shoulder up to the wrist and on to the tip, the skin
    # between its fingers hanging in scallops
    f.add(poly([(17, 16), (15, 6), (12, 1), (1, 2), (3, 6), (2, 10), (6, 9), (6, 13), (9, 12), (10, 16), (12, 14), (13, 17)]), wing)
    f.add(line(16, 15, 13, 4) | line(13, 3, 2, 2), ('P', 'a', 'm'))
    f.add(line(12, 4, 3, 9) | line(12, 5, 7, 12) | line(13, 6, 11, 14), ('p', 'p', 'p'), flat=True)
    f.add(poly([(9, 18), (5, 21), (2, 25), (1, 28), (4, 28), (5, 25), (8, 22), (11, 21)]), hide)   # tail
    f.add(poly([(0, 25), (3, 27), (0, 30)]), hide)                                   # its barbed tip
    f.add(box(11, 22, 13, 27), far); f.add(box(22, 22, 24, 27), far)                 # far legs
    f.add(ellipse(15.5, 19.5, 8.5, 5), hide)                                         # body
    f.add(poly([(18, 20), (20, 12), (22, 8), (26, 9), (24, 14), (24, 21)]), hide)     # neck
    f.add(ellipse(9, 22, 3.2, 3) | box(7, 23, 10, 28), hide)                         # hind leg
    f.add(box(19, 22, 21, 28), hide)                                                 # foreleg
    f.add(ellipse(24.5, 7, 4, 3.4) | poly([(25, 5), (31, 6.5), (31, 10), (24, 10.5)]), hide)   # head
    f.add({(22, 4), (21, 4), (21, 3), (20, 3), (20, 2), (19, 2), (18, 1)}, horn)            # horns swept back
    f.add({(24, 3), (23, 3), (23, 2), (22, 1)}, horn)
    f.px([(x, 24) for x in range(12, 19)], 'O')                                       # belly scales
    f.px([(10, 14), (14, 13), (19, 12), (20, 10), (21, 7)], 'r')                      # the ridge
    f.px([(25, 6)], 'y'); f.px([(26, 6)], 'o')                                       # the eye
    f.px([(30, 7)], 'n')
    f.px([(x, 9) for x in range(26, 31)], 'n')                                       # the jaw
    f.px([(27, 10), (29, 10)], 'w')                                                  # fangs
    f.px([(7, 29), (9, 29), (19, 29), (21, 29)], 'a')                                # claws
    return render(f, (15, 29.5, 13, 2))

if __name__ == '__main__':
    G = 'Images/tiles/imgGrass.bmp'
    def put(name, img, comment): save(name, img, comment, base=G, baseimg=GRASS)
    put('Images/volk.bmp', render(wolf(('a', 'm', 'M'), 'y')), 'Ђ: a grey wolf.')
    put('Images/bwolf.bmp', render(wolf(('D', 'd', 'n'), 'r', big=1)), '™ in forests: the black wolf, bigger than its pack, with red eyes.')
    put('Images/dog.bmp', dog(), 'K in towns: a dog.')
    put('Images/chicken.bmp', chicken(), 'k in towns: a hen.')
    for i in range(4):
        put('Images/sheep/s%d.bmp' % (i + 1), sheep(i), 'r: a sheep, frame %d of 4 (legs and head move).' % (i + 1))
        put('Images/spider/p%d.gif' % (i + 1), spider(i), '©: a giant spider, frame %d of 4 (legs move).' % (i + 1))
        put('Images/tvar/t%d.bmp' % (i + 1), tvar(i), 't: a night creature, frame %d of 4 (arms and head move).' % (i + 1))
    put('Images/tiles/imgBear.bmp', bear(), 'Ґ: a bear.')
    put('Images/tiles/imgSkel.bmp', skeleton(), 'V in caves: a skeleton with a rusty sword.')
    put('Images/orc.bmp', figure_img(MON['orc'], 'down'), '® in towns and caves: an orc with a club.')
    put('Images/orc2.bmp', figure_img(MON['orc2'], 'down'), '™ in houses and caves: an orc chief in a helmet with an axe.')
    put('Images/naga.bmp', dragon(), 'O: Чёрный Дождь, the black dragon of the story, his wing raised.')
