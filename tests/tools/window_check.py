"""Checks screenshots of Zentrap's windows for the end-to-end window tests (Debian's /usr/bin/python3).

  window_check.py spans-bottom IMAGE R G B    the window's bottom strip (the 3rd to 6th rows from the
                                              bottom) shows none of the window's background R,G,B:
                                              something (its status bar) covers the whole width
  window_check.py hover PLAIN HOVERED         the hovered picture of a control differs from the plain
                                              one, and the highlight is no glaring white: at most 3% of
                                              the area turns near-white
"""
import sys

from PIL import Image


def load(path):
    return Image.open(path).convert("RGB")


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def spans_bottom(path, background):
    im = load(path)
    px = im.load()
    w, h = im.size
    for y in range(h - 6, h - 2):
        uncovered = [x for x in range(w) if px[x, y] == background]
        if uncovered:
            fail(f"{path} ({w}x{h}): row {y} shows the background from x={uncovered[0]} to {uncovered[-1]}")


def near_white(rgb):
    return min(rgb) >= 225


def hover(plain_path, hovered_path):
    plain, hovered = load(plain_path), load(hovered_path)
    if plain.size != hovered.size:
        fail(f"pictures differ in size: {plain.size} and {hovered.size}")
    a, b = list(plain.getdata()), list(hovered.getdata())
    changed = sum(1 for p, q in zip(a, b) if p != q)
    if changed == 0:
        fail("hovering changes nothing: there is no highlight")
    whitened = sum(1 for p, q in zip(a, b) if near_white(q) and not near_white(p))
    if whitened > 0.03 * len(a):
        fail(f"the highlight turns {whitened} of {len(a)} pixels near-white")
    print(f"hover ok: {changed} pixels change, {whitened} turn near-white")


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "spans-bottom":
        spans_bottom(args[0], tuple(map(int, args[1:4])))
    elif command == "hover":
        hover(args[0], args[1])
    else:
        fail("unknown check " + command)


if __name__ == "__main__":
    main(sys.argv)
