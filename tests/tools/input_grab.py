"""Whether some client holds an active grab of the keyboard or the pointer (a pop-up menu that takes
keys, a window manager's move), for the end-to-end tests (Debian's /usr/bin/python3).

  input_grab.py keyboard|pointer    exits 0 when the device is grabbed, 1 when it is free
"""
import ctypes
import ctypes.util
import sys

GRAB_SUCCESS, CURRENT_TIME, GRAB_MODE_ASYNC = 0, 0, 1

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                              ctypes.c_ulong]
x11.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint, ctypes.c_int,
                             ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
x11.XUngrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XUngrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no display")
root = x11.XDefaultRootWindow(display)
if sys.argv[1] == "keyboard":
    result = x11.XGrabKeyboard(display, root, 0, GRAB_MODE_ASYNC, GRAB_MODE_ASYNC, CURRENT_TIME)
    if result == GRAB_SUCCESS:
        x11.XUngrabKeyboard(display, CURRENT_TIME)
else:
    result = x11.XGrabPointer(display, root, 0, 0, GRAB_MODE_ASYNC, GRAB_MODE_ASYNC, 0, 0, CURRENT_TIME)
    if result == GRAB_SUCCESS:
        x11.XUngrabPointer(display, CURRENT_TIME)
x11.XCloseDisplay(display)
sys.exit(1 if result == GRAB_SUCCESS else 0)
