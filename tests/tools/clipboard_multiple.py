"""Asks the clipboard for several targets in one MULTIPLE request, as clipboard managers do
(Debian's /usr/bin/python3 with python3-xlib).

  clipboard_multiple.py PREFIX TARGET...

Prints one line a target: "TARGET refused", or "TARGET N" with N bytes (atom names for TARGETS,
the number for TIMESTAMP) and writes a byte answer into PREFIX.<name after the last '/'>. Fails
when the request as a whole is refused or its answer does not list the targets asked.
"""
import sys

from Xlib import display

from selection_reader import SelectionReader

prefix, targets = sys.argv[1], sys.argv[2:]
reader = SelectionReader(display.Display())
for target, value in reader.fetch_multiple(targets).items():
    if value is None:
        print(target, "refused")
    elif target == "TARGETS":
        print(target, *reader.atom_names(value))
    elif isinstance(value, list):
        print(target, *value)
    else:
        with open(prefix + "." + target.split("/")[-1], "wb") as f:
            f.write(value)
        print(target, len(value))
