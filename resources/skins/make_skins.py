#!/usr/bin/python3
"""Draws the Remote Control's built-in skin and the example skins (100 x 260, fitted to the window's
capsule outline and its controls). Run it again after changing the artwork; the pictures are kept
in the repository."""
from PIL import Image, ImageChops, ImageDraw, ImageFilter

W, H, S = 100, 260, 4  # drawn at four times the size, then reduced, for smooth edges


def box(l, t, r, b):
    return [l * S, t * S, r * S - 1, b * S - 1]


def capsule_mask(inset=0.0):
    m = Image.new("L", (W * S, H * S), 0)
    d = ImageDraw.Draw(m)
    i = inset
    d.ellipse(box(i, i, 100 - i, 62 - i), fill=255)
    d.ellipse(box(i, 98 + i, 100 - i, 260 - i), fill=255)
    d.rectangle(box(i, 31, 100 - i, 179), fill=255)
    return m


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def shaded_body(base, light, dark):
    """A cylinder lit from the upper left: a bright band left of the middle, darker edges."""
    row = Image.new("RGB", (W * S, 1))
    for x in range(W * S):
        u = x / (W * S - 1)
        if u < 0.32:
            c = mix(dark, light, (u / 0.32) ** 0.7)
        else:
            c = mix(light, dark, ((u - 0.32) / 0.68) ** 1.3)
        row.putpixel((x, 0), mix(c, base, 0.35))
    return row.resize((W * S, H * S))


def draw_skin(base, light, dark, well, accent):
    body = shaded_body(base, light, dark)
    img = Image.new("RGB", (W * S, H * S), mix(dark, (0, 0, 0), 0.35))
    img.paste(body, (0, 0), capsule_mask(1.2))
    d = ImageDraw.Draw(img)
    # A thin highlight just inside the rim, stronger towards the top.
    rim = ImageChops.subtract(capsule_mask(1.6), capsule_mask(2.4))
    img.paste(mix(light, (255, 255, 255), 0.35), (0, 0), rim.point(lambda v: v // 2))
    # Round wells behind the Menu and Close buttons.
    for cx in (29.5, 70.5):
        d.ellipse(box(cx - 10, 6.5, cx + 10, 26.5), fill=mix(dark, base, 0.4))
        d.ellipse(box(cx - 9, 7.5, cx + 9, 25.5), fill=mix(base, dark, 0.55))
    # The dark square behind the thumbnail, with a bezel.
    d.rounded_rectangle(box(6, 25, 94, 113), radius=4 * S, fill=mix(dark, (0, 0, 0), 0.5))
    d.rounded_rectangle(box(7, 26, 93, 112), radius=3 * S, fill=well)
    d.rectangle(box(10, 29, 90, 109), fill=(0, 0, 0))
    d.line([(8 * S, 111 * S), (92 * S, 111 * S)], fill=mix(light, base, 0.3), width=S)
    # The button deck: a recessed plate behind the three rows of buttons.
    d.rounded_rectangle(box(6, 113, 94, 198), radius=6 * S, fill=mix(dark, (0, 0, 0), 0.3))
    d.rounded_rectangle(box(7, 114, 93, 197), radius=5 * S, fill=mix(base, dark, 0.45))
    d.line([(9 * S, 197 * S - S // 2), (91 * S, 197 * S - S // 2)], fill=mix(light, base, 0.4), width=S)
    # An accent stripe between the thumbnail and the deck, and a speaker grille at the bottom.
    d.rounded_rectangle(box(36, 203, 64, 206), radius=S, fill=accent)
    for row, y in enumerate(range(214, 244, 6)):
        count = 5 - abs(row - 2)
        for k in range(count):
            x = 50 + (k - (count - 1) / 2) * 7
            d.ellipse(box(x - 1.6, y - 1.6, x + 1.6, y + 1.6), fill=mix(dark, (0, 0, 0), 0.55))
            d.arc(box(x - 1.6, y - 1.2, x + 1.6, y + 2.0), 20, 160, fill=mix(light, base, 0.5), width=S // 2)
    img = img.filter(ImageFilter.GaussianBlur(0.6))
    return img.resize((W, H), Image.LANCZOS)


SKINS = {
    # name: (base, light, dark, thumbnail well, accent)
    "built-in.jpg": ((28, 132, 134), (92, 196, 194), (10, 72, 78), (14, 22, 26), (236, 200, 96)),
    "Graphite.jpg": ((84, 88, 94), (168, 172, 178), (34, 36, 40), (16, 16, 18), (90, 170, 230)),
    "Coral.bmp": ((214, 104, 88), (250, 176, 150), (132, 48, 44), (30, 16, 16), (255, 236, 200)),
    "Midnight.jpg": ((40, 52, 112), (110, 126, 200), (14, 18, 52), (8, 10, 22), (240, 180, 60)),
}

if __name__ == "__main__":
    import os
    here = os.path.dirname(os.path.abspath(__file__))
    for name, colours in SKINS.items():
        picture = draw_skin(*colours)
        path = os.path.join(here, name)
        if name.endswith(".jpg"):
            picture.save(path, quality=92, subsampling=0, optimize=True)
        else:
            picture.save(path)
