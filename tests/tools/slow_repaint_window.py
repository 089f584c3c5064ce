"""A window that repaints late, for the end-to-end tests (Debian's /usr/bin/python3 with python3-xlib).

  slow_repaint_window.py L,T,W,H DELAY_MS [WATCH_WID]

Shows the test pattern (see test_pattern.py) at L,T,W,H below every managed window. Like a busy
program, it has no background of its own, so an area that another window uncovers keeps that
window's pixels until it paints the pattern there, DELAY_MS after the server asked it to.
Prints "ready" once the pattern is first on the screen, "exposed" at every exposure, "painted"
after every repaint, and, with
WATCH_WID, "unmapped WID" and "mapped WID" whenever that window leaves or comes back to the screen.
"""
import select
import sys
import time

from Xlib import X, display

from test_pattern import reference


def say(line):
    print(line, flush=True)


def main(argv):
    if len(argv) not in (3, 4):
        sys.exit(__doc__)
    left, top, width, height = map(int, argv[1].split(","))
    delay = int(argv[2]) / 1000.0
    watched = int(argv[3], 0) if len(argv) == 4 else None

    d = display.Display()
    screen = d.screen()
    # Override-redirect: the window manager neither frames nor moves it; lowered, it lies under
    # every managed window, as a program's window behind the Remote Control would.
    window = screen.root.create_window(left, top, width, height, 0, screen.root_depth, X.InputOutput,
                                       X.CopyFromParent, override_redirect=True,
                                       event_mask=X.ExposureMask | X.StructureNotifyMask)
    gc = window.create_gc()
    picture = reference(width, height).tobytes("raw", "BGRX")
    if watched is not None:
        d.create_resource_object("window", watched).change_attributes(event_mask=X.StructureNotifyMask)
    window.map()
    window.configure(stack_mode=X.Below)

    def paint():
        rows = max(1, 65536 // (width * 4))  # requests stay well under the server's size limit
        for y in range(0, height, rows):
            band = min(rows, height - y)
            window.put_image(gc, 0, y, width, band, X.ZPixmap, screen.root_depth, 0,
                             picture[y * width * 4:(y + band) * width * 4])
        d.sync()

    due = None
    announced = False
    while True:
        timeout = None if due is None else max(0.0, due - time.monotonic())
        if d.pending_events() == 0 and timeout != 0.0:
            # Sleep on the connection until an event comes or the repaint is due.
            select.select([d.fileno()], [], [], timeout)
        while d.pending_events():
            event = d.next_event()
            if event.type == X.Expose and event.window.id == window.id:
                say("exposed")
                if due is None:
                    due = time.monotonic() + delay
            elif event.type == X.UnmapNotify and event.window.id == watched:
                say(f"unmapped {watched}")
            elif event.type == X.MapNotify and event.window.id == watched:
                say(f"mapped {watched}")
        if due is not None and time.monotonic() >= due:
            due = None
            paint()
            say("painted")
            if not announced:
                announced = True
                say("ready")


if __name__ == "__main__":
    main(sys.argv)
