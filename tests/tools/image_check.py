"""Checks pictures for the end-to-end tests (run with Debian's /usr/bin/python3); exits non-zero
with a FAIL line that says what differs.

  image_check.py pattern IMAGE X Y W H WX WY  region (X,Y,W,H) of IMAGE shows the test pattern
                                              from window pixel (WX,WY) on (see Pattern.h)
  image_check.py locate IMAGE [W H]           the whole IMAGE (W x H when given) is a piece of the
                                              test pattern; prints "X Y" of its origin in the pattern
  image_check.py screen IMAGE L T W H         IMAGE is the 1920 x 1080 screen with the pattern window
                                              at L,T,W,H intact
  image_check.py same IMAGE1 IMAGE2           both hold the same pixels
  image_check.py solid IMAGE X Y W H R G B    region (X,Y,W,H) is that one colour
  image_check.py size IMAGE W H               IMAGE is W x H
  image_check.py covers SCREEN PART L T       at least half of PART's pixels differ from SCREEN's
                                              under it (PART lies at L,T): a window there has painted
  image_check.py capsule BEFORE AFTER         100 x 260 grabs of the Remote Control's place: outside
                                              its capsule AFTER equals BEFORE, inside it mostly differs
  image_check.py cursor PLAIN WITH CURSOR LEFT TOP drawn|absent
                                              WITH is PLAIN with the cursor (zentrap-test-cursor's
                                              output) composed at its hot-spot-corrected place, or
                                              exactly PLAIN when absent
"""
import sys

from PIL import Image

from test_pattern import LIMIT, position_of, reference


def load(path):
    return Image.open(path).convert("RGB")


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def check_pattern(path, x0, y0, w, h, wx, wy):
    px = load(path).load()
    pattern = reference(wx + w, wy + h).load()
    for y in range(h):
        for x in range(w):
            want = pattern[wx + x, wy + y]
            got = px[x0 + x, y0 + y]
            if got != want:
                fail(f"{path} pixel ({x0 + x},{y0 + y}) is {got}, the pattern has {want}")


def locate(path, size=None):
    img = load(path)
    if size and img.size != size:
        fail(f"{path} is {img.size}, expected {size[0]} x {size[1]}")
    px = img.load()
    x0, y0 = position_of(px[0, 0])
    if x0 + img.size[0] > LIMIT or y0 + img.size[1] > LIMIT:
        fail(f"pixel 0,0 is {px[0, 0]}: the image cannot be a piece of the pattern")
    check_pattern(path, 0, 0, img.size[0], img.size[1], x0, y0)
    print(x0, y0)


def check_screen(path, left, top, w, h):
    check_size(path, 1920, 1080)
    check_pattern(path, left, top, w, h, 0, 0)


def check_same(path_a, path_b):
    a, b = load(path_a), load(path_b)
    if a.size != b.size or a.tobytes() != b.tobytes():
        fail(f"{path_a} {a.size} and {path_b} {b.size} differ")


def check_solid(path, x0, y0, w, h, color):
    px = load(path).load()
    for y in range(y0, y0 + h):
        for x in range(x0, x0 + w):
            if px[x, y] != color:
                fail(f"{path} pixel ({x},{y}) is {px[x, y]}, want {color}")


def check_size(path, w, h):
    im = load(path)
    if im.size != (w, h):
        fail(f"{path} is {im.size[0]}x{im.size[1]}, want {w}x{h}")


def check_covers(screen_path, part_path, left, top):
    part = load(part_path)
    w, h = part.size
    under = load(screen_path).crop((left, top, left + w, top + h))
    differing = sum(1 for p, q in zip(part.getdata(), under.getdata()) if p != q)
    if differing * 2 < w * h:
        fail(f"only {differing} of {w * h} pixels at {left},{top} differ from what was there before")


def inside_ellipse(l, t, r, b, x, y):
    w, h = r - l, b - t
    dx, dy = 2 * x + 1 - (l + r), 2 * y + 1 - (t + b)
    return dx * dx * h * h + dy * dy * w * w <= w * w * h * h


def in_capsule(x, y):
    """Whether window pixel x,y of the 100 x 260 Remote Control lies inside its outline."""
    return (31 <= y < 179) or inside_ellipse(0, 0, 100, 62, x, y) or inside_ellipse(0, 98, 100, 260, x, y)


def check_capsule(before_path, after_path):
    before, after = load(before_path), load(after_path)
    if not before.size == after.size == (100, 260):
        fail(f"grabs of {before.size} and {after.size}, expected 100 x 260")
    bp, ap = before.load(), after.load()
    inside = differing = 0
    for y in range(260):
        for x in range(100):
            # The thumbnail and its well are black before the first capture, like the bare root.
            in_thumbnail = 8 <= x < 92 and 27 <= y < 111
            if in_capsule(x, y) and not in_thumbnail:
                inside += 1
                differing += bp[x, y] != ap[x, y]
            elif not in_capsule(x, y) and bp[x, y] != ap[x, y]:
                fail(f"pixel {x},{y} outside the capsule is {ap[x, y]}, the desktop there is {bp[x, y]}")
    if differing < inside * 0.9:
        fail(f"only {differing} of {inside} pixels inside the capsule show the window")
    print(f"capsule ok: {inside} pixels inside, {differing} differ from the desktop")


def read_cursor(path):
    with open(path) as f:
        width, height, xhot, yhot, px, py = map(int, f.readline().split())
        argb = [[int(v, 16) for v in f.readline().split()] for _ in range(height)]
    return width, height, xhot, yhot, px, py, argb


def over(source, dest, alpha):
    return min(255, source + (dest * (255 - alpha) + 127) // 255)


def check_cursor(plain_path, with_path, cursor_path, left, top, expectation):
    plain = load(plain_path)
    drawn = load(with_path)
    if plain.size != drawn.size:
        fail("the two grabs differ in size")
    width, height, xhot, yhot, px, py, argb = read_cursor(cursor_path)
    expected = plain.copy()
    if expectation == "drawn":
        ex = expected.load()
        ox, oy = px - left - xhot, py - top - yhot
        for cy in range(height):
            for cx in range(width):
                x, y = ox + cx, oy + cy
                if not (0 <= x < expected.size[0] and 0 <= y < expected.size[1]):
                    continue
                v = argb[cy][cx]
                a = v >> 24
                r, g, b = ex[x, y]
                ex[x, y] = (over((v >> 16) & 0xFF, r, a), over((v >> 8) & 0xFF, g, a), over(v & 0xFF, b, a))
        if list(expected.getdata()) == list(plain.getdata()):
            fail("the cursor would not change a single pixel here; the test proves nothing")
    got, want = drawn.load(), expected.load()
    for y in range(drawn.size[1]):
        for x in range(drawn.size[0]):
            if got[x, y] != want[x, y]:
                fail(f"pointer ({px},{py}), hot spot ({xhot},{yhot}), rectangle at ({left},{top}): "
                     f"pixel ({x},{y}) is {got[x, y]}, want {want[x, y]} ({expectation})")


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "pattern":
        check_pattern(args[0], *map(int, args[1:7]))
    elif command == "locate":
        locate(args[0], (int(args[1]), int(args[2])) if len(args) == 3 else None)
    elif command == "screen":
        check_screen(args[0], *map(int, args[1:5]))
    elif command == "same":
        check_same(args[0], args[1])
    elif command == "solid":
        n = list(map(int, args[1:8]))
        check_solid(args[0], n[0], n[1], n[2], n[3], tuple(n[4:7]))
    elif command == "size":
        check_size(args[0], int(args[1]), int(args[2]))
    elif command == "covers":
        check_covers(args[0], args[1], int(args[2]), int(args[3]))
    elif command == "capsule":
        check_capsule(args[0], args[1])
    elif command == "cursor":
        check_cursor(args[0], args[1], args[2], int(args[3]), int(args[4]), args[5])
    else:
        fail("unknown check " + command)


if __name__ == "__main__":
    main(sys.argv)
