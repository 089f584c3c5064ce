"""Reads the screen's pixels with Xlib's XGetImage (independent of the program's own grabber) for
the end-to-end tests (Debian's /usr/bin/python3).

  root_grab.py L,T,W,H FILE             the rectangle, saved in the format FILE's name says
  root_grab.py L,T,W,H FILE SECONDS     the same once two grabs 100 ms apart agree (painting has
                                        settled); fails when they still differ after SECONDS
"""
import ctypes
import ctypes.util
import sys
import time

from PIL import Image


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


def open_display():
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                              ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("FAIL: no display")
    return x11, display


def grab(x11, display, l, t, w, h):
    image = x11.XGetImage(display, x11.XDefaultRootWindow(display), l, t, w, h, 0xFFFFFFFF, 2)
    if not image:
        sys.exit("FAIL: XGetImage failed")
    xi = image.contents
    if xi.bits_per_pixel != 32 or xi.byte_order != 0:
        sys.exit(f"FAIL: unexpected screen layout: {xi.bits_per_pixel} bits, byte order {xi.byte_order}")
    raw = ctypes.string_at(xi.data, xi.bytes_per_line * h)
    return Image.frombuffer("RGB", (w, h), raw, "raw", "BGRX", xi.bytes_per_line, 1)


def main(argv):
    l, t, w, h = map(int, argv[1].split(","))
    x11, display = open_display()
    picture = grab(x11, display, l, t, w, h)
    if len(argv) > 3:
        deadline = time.monotonic() + float(argv[3])
        while True:
            time.sleep(0.1)
            again = grab(x11, display, l, t, w, h)
            if again.tobytes() == picture.tobytes():
                break
            picture = again
            if time.monotonic() > deadline:
                sys.exit(f"FAIL: the screen at {argv[1]} still changed after {argv[3]} s")
    picture.save(argv[2])


if __name__ == "__main__":
    main(sys.argv)
