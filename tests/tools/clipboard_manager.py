"""A minimal clipboard manager for the end-to-end tests (Debian's /usr/bin/python3 with python3-xlib).

  clipboard_manager.py OUT [--never-answer]

Owns CLIPBOARD_MANAGER and prints "ready". Asked for SAVE_TARGETS, it reads the clipboard's TARGETS,
then its image/png and image/bmp in one MULTIPLE request, as managers do (incremental transfers
included), into OUT.png and OUT.bmp, answers the request and ends. With --never-answer it prints
"asked" and never answers.
"""
import sys

from Xlib import X, display
from Xlib.protocol import event

from selection_reader import SelectionReader

out, never = sys.argv[1], "--never-answer" in sys.argv[2:]
d = display.Display()
MANAGER, SAVE_TARGETS = d.intern_atom("CLIPBOARD_MANAGER"), d.intern_atom("SAVE_TARGETS")
reader = SelectionReader(d)
reader.window.set_selection_owner(MANAGER, X.CurrentTime)
if d.get_selection_owner(MANAGER) != reader.window:
    sys.exit("CLIPBOARD_MANAGER is taken")
print("ready", flush=True)

request = reader.next_of(X.SelectionRequest, lambda e: e.selection == MANAGER and e.target == SAVE_TARGETS)
if never:
    print("asked", flush=True)
    while True:
        d.next_event()
targets = reader.atom_names(reader.fetch("TARGETS") or [])
if "image/png" not in targets or "image/bmp" not in targets:
    sys.exit("the clipboard offered %s, not image/png and image/bmp" % targets)
images = reader.fetch_multiple(["image/png", "image/bmp"])
for name, data in images.items():
    if data is None:
        sys.exit("the clipboard refused %s in the MULTIPLE request" % name)
    with open(out + "." + name.split("/")[1], "wb") as f:
        f.write(data)
answer = event.SelectionNotify(time=request.time, requestor=request.requestor, selection=MANAGER,
                               target=SAVE_TARGETS, property=request.property)
request.requestor.send_event(answer)
d.flush()
print("saved", flush=True)
