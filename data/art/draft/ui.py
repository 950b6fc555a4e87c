import os, sys; sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib import *
from people import Fig

def scroll():
    """The text viewer's panel picture: an unrolled scroll with lines of writing and a quill."""
    img = Img(fill='d')
    for y in range(32):
        for x in range(32):
            if (x * 5 + y * 3) % 11 == 0: img.set(x, y, 'n')
    f = Fig()
    f.add(box(6, 6, 25, 25), ('s', 't', 'h'))                       # the sheet
    f.add(ellipse(15.5, 5, 11, 2.5), ('t', 'B', 'b'))               # the rolls
    f.add(ellipse(15.5, 26.5, 11, 2.5), ('t', 'B', 'b'))
    for y in (10, 13, 16, 19, 22):
        f.px([(x, y) for x in range(9, 23 if y != 22 else 17) if (x * 7 + y) % 9], 'b')
    f.px([(9, 10), (10, 10)], 'r')                                     # a red initial
    f.add(line(20, 22, 28, 8, 1), ('w', 'P', 'a'))                    # the quill
    f.add(line(27, 8, 29, 3, 1) | line(26, 10, 28, 5, 1), ('w', 'P', 'a'))
    return f.render(img)

if __name__ == '__main__':
    save('Images/ui/viewer.bmp', scroll(), "The text viewer's panel picture: a scroll and a quill, 128 x 128.", scale=4)
