"""A minimal clipboard manager for the end-to-end tests (Debian's /usr/bin/python3 with python3-xlib).

  clipboard_manager.py OUT.png [--never-answer]

Owns CLIPBOARD_MANAGER and prints "ready". Asked for SAVE_TARGETS, it reads the clipboard's TARGETS,
then its image/png (incremental transfers included) into OUT.png, answers the request and ends.
With --never-answer it prints "asked" and never answers.
"""
import sys

from Xlib import X, display
from Xlib.protocol import event

out, never = sys.argv[1], "--never-answer" in sys.argv[2:]
d = display.Display()
atom = d.intern_atom
MANAGER, SAVE_TARGETS, CLIPBOARD = atom("CLIPBOARD_MANAGER"), atom("SAVE_TARGETS"), atom("CLIPBOARD")
TARGETS, PNG, INCR, DATA = atom("TARGETS"), atom("image/png"), atom("INCR"), atom("_TEST_MANAGER_DATA")
window = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent, event_mask=X.PropertyChangeMask)
window.set_selection_owner(MANAGER, X.CurrentTime)
if d.get_selection_owner(MANAGER) != window:
    sys.exit("CLIPBOARD_MANAGER is taken")
print("ready", flush=True)


def as_bytes(value):
    return value.encode("latin-1") if isinstance(value, str) else bytes(value)


def next_of(kind, test):
    while True:
        e = d.next_event()
        if e.type == kind and test(e):
            return e


def fetch(target):
    """The clipboard converted to `target`: bytes, or a list of atoms for TARGETS; None when refused."""
    window.convert_selection(CLIPBOARD, target, DATA, X.CurrentTime)
    d.flush()
    if next_of(X.SelectionNotify, lambda e: e.selection == CLIPBOARD).property == X.NONE:
        return None
    reply = window.get_full_property(DATA, X.AnyPropertyType)
    window.delete_property(DATA)
    d.flush()
    if reply.property_type != INCR:
        return list(reply.value) if reply.format == 32 else as_bytes(reply.value)
    data = b""
    while True:
        next_of(X.PropertyNotify, lambda e: e.atom == DATA and e.state == X.PropertyNewValue)
        reply = window.get_full_property(DATA, X.AnyPropertyType)
        window.delete_property(DATA)
        d.flush()
        if not reply.value:
            return data
        data += as_bytes(reply.value)


request = next_of(X.SelectionRequest, lambda e: e.selection == MANAGER and e.target == SAVE_TARGETS)
if never:
    print("asked", flush=True)
    while True:
        d.next_event()
targets = fetch(TARGETS) or []
png = fetch(PNG) if PNG in targets else None
if png is None:
    sys.exit("the clipboard offered no image/png")
with open(out, "wb") as f:
    f.write(png)
answer = event.SelectionNotify(time=request.time, requestor=request.requestor, selection=MANAGER,
                               target=SAVE_TARGETS, property=request.property)
request.requestor.send_event(answer)
d.flush()
print("saved", flush=True)
