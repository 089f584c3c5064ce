"""Makes the test pattern the root window's picture, from the desktop's top-left pixel, so that every
grab of the desktop (outside windows) tells where it came from (Debian's /usr/bin/python3).

  root_pattern.py            the whole root window (up to the pattern's 4096 x 4096)
"""
import ctypes
import ctypes.util
import sys

from test_pattern import LIMIT, reference


def main():
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("FAIL: no display")
    for name, result, args in [
        ("XDefaultRootWindow", ctypes.c_ulong, [ctypes.c_void_p]),
        ("XDefaultScreen", ctypes.c_int, [ctypes.c_void_p]),
        ("XDisplayWidth", ctypes.c_int, [ctypes.c_void_p, ctypes.c_int]),
        ("XDisplayHeight", ctypes.c_int, [ctypes.c_void_p, ctypes.c_int]),
        ("XDefaultDepth", ctypes.c_int, [ctypes.c_void_p, ctypes.c_int]),
        ("XDefaultVisual", ctypes.c_void_p, [ctypes.c_void_p, ctypes.c_int]),
        ("XDefaultGC", ctypes.c_void_p, [ctypes.c_void_p, ctypes.c_int]),
        ("XCreatePixmap", ctypes.c_ulong, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint,
                                           ctypes.c_uint]),
        ("XCreateImage", ctypes.c_void_p, [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                           ctypes.c_int, ctypes.c_char_p, ctypes.c_uint, ctypes.c_uint,
                                           ctypes.c_int, ctypes.c_int]),
        ("XPutImage", ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_void_p,
                                     ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                     ctypes.c_uint]),
        ("XSetWindowBackgroundPixmap", ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]),
        ("XClearWindow", ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong]),
        ("XFreePixmap", ctypes.c_int, [ctypes.c_void_p, ctypes.c_ulong]),
        ("XSync", ctypes.c_int, [ctypes.c_void_p, ctypes.c_int]),
    ]:
        getattr(x11, name).restype = result
        getattr(x11, name).argtypes = args
    screen = x11.XDefaultScreen(display)
    root = x11.XDefaultRootWindow(display)
    width = min(x11.XDisplayWidth(display, screen), LIMIT)
    height = min(x11.XDisplayHeight(display, screen), LIMIT)
    depth = x11.XDefaultDepth(display, screen)
    if depth != 24:
        sys.exit(f"FAIL: the pattern needs a 24-bit screen, not {depth} bits")
    data = ctypes.create_string_buffer(reference(width, height).convert("RGB").tobytes("raw", "BGRX"))
    # ZPixmap (2), 32 bits per pixel, rows of width * 4 bytes.
    image = x11.XCreateImage(display, x11.XDefaultVisual(display, screen), depth, 2, 0, data, width, height, 32,
                             width * 4)
    pixmap = x11.XCreatePixmap(display, root, width, height, depth)
    x11.XPutImage(display, pixmap, x11.XDefaultGC(display, screen), image, 0, 0, 0, 0, width, height)
    x11.XSetWindowBackgroundPixmap(display, root, pixmap)
    x11.XClearWindow(display, root)
    # The root window keeps the picture; the pixmap's name is not needed any more.
    x11.XFreePixmap(display, pixmap)
    x11.XSync(display, 0)


if __name__ == "__main__":
    main()
