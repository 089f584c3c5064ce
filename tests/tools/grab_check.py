"""Checks grabbed pictures for the end-to-end grab tests (run with Debian's /usr/bin/python3).

  grab_check.py pattern IMAGE X Y W H WX WY   region (X,Y,W,H) of IMAGE shows the test pattern
                                              from window pixel (WX,WY) on (see Pattern.h)
  grab_check.py solid IMAGE X Y W H R G B     region (X,Y,W,H) is that one colour
  grab_check.py size IMAGE W H                IMAGE is W x H
  grab_check.py cursor PLAIN WITH CURSOR LEFT TOP drawn|absent
                                              WITH is PLAIN with the cursor (zentrap-test-cursor's
                                              output) composed at its hot-spot-corrected place, or
                                              exactly PLAIN when absent
"""
import sys

from PIL import Image

from test_pattern import reference


def load(path):
    return Image.open(path).convert("RGB")


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def check_pattern(path, x0, y0, w, h, wx, wy):
    im = load(path)
    px = im.load()
    pattern = reference(wx + w, wy + h).load()
    for y in range(h):
        for x in range(w):
            want = pattern[wx + x, wy + y]
            got = px[x0 + x, y0 + y]
            if got != want:
                fail(f"{path} pixel ({x0 + x},{y0 + y}) is {got}, the pattern has {want}")


def check_solid(path, x0, y0, w, h, color):
    im = load(path)
    px = im.load()
    for y in range(y0, y0 + h):
        for x in range(x0, x0 + w):
            if px[x, y] != color:
                fail(f"{path} pixel ({x},{y}) is {px[x, y]}, want {color}")


def check_size(path, w, h):
    im = load(path)
    if im.size != (w, h):
        fail(f"{path} is {im.size[0]}x{im.size[1]}, want {w}x{h}")


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
    elif command == "solid":
        n = list(map(int, args[1:8]))
        check_solid(args[0], n[0], n[1], n[2], n[3], tuple(n[4:7]))
    elif command == "size":
        check_size(args[0], int(args[1]), int(args[2]))
    elif command == "cursor":
        check_cursor(args[0], args[1], args[2], int(args[3]), int(args[4]), args[5])
    else:
        fail("unknown check " + command)


if __name__ == "__main__":
    main(sys.argv)
