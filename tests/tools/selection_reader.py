"""Reads the X clipboard as a requestor would, for the end-to-end tests' own clients (Debian's
/usr/bin/python3 with python3-xlib): one target at a time, or several at once with MULTIPLE.
Incremental transfers (INCR) are followed in both."""
from Xlib import X


class SelectionReader:
    def __init__(self, d, selection="CLIPBOARD"):
        self.d = d
        self.selection = d.intern_atom(selection)
        self.incr = d.intern_atom("INCR")
        self.window = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent,
                                                    event_mask=X.PropertyChangeMask)

    def next_of(self, kind, test):
        while True:
            e = self.d.next_event()
            if e.type == kind and test(e):
                return e

    def take(self, prop):
        """The value stored in `prop` (following INCR): bytes, or a list for 32-bit values."""
        reply = self.window.get_full_property(prop, X.AnyPropertyType)
        self.window.delete_property(prop)
        self.d.flush()
        if reply is None:
            return None
        if reply.property_type != self.incr:
            return list(reply.value) if reply.format == 32 else as_bytes(reply.value)
        data = b""
        while True:
            self.next_of(X.PropertyNotify, lambda e: e.atom == prop and e.state == X.PropertyNewValue)
            reply = self.window.get_full_property(prop, X.AnyPropertyType)
            self.window.delete_property(prop)
            self.d.flush()
            if not reply.value:
                return data
            data += as_bytes(reply.value)

    def convert(self, target, prop):
        """Asks for `target` into `prop`; the property the owner answered with (X.NONE: refused)."""
        self.window.convert_selection(self.selection, target, prop, X.CurrentTime)
        self.d.flush()
        return self.next_of(X.SelectionNotify, lambda e: e.selection == self.selection).property

    def fetch(self, target):
        """The clipboard converted to `target`; None when refused."""
        prop = self.d.intern_atom("_TEST_SELECTION_DATA")
        return None if self.convert(self.d.intern_atom(target), prop) == X.NONE else self.take(prop)

    def fetch_multiple(self, targets):
        """All `targets` asked in one MULTIPLE request: {target: value, or None when that one was
        refused}. Raises when the request as a whole is refused or its answer is malformed."""
        props = [self.d.intern_atom("_TEST_MULTIPLE_%d" % i) for i in range(len(targets))]
        pairs = []
        for target, prop in zip(targets, props):
            pairs += [self.d.intern_atom(target), prop]
        request = self.d.intern_atom("_TEST_MULTIPLE")
        self.window.change_property(request, self.d.intern_atom("ATOM_PAIR"), 32, pairs)
        if self.convert(self.d.intern_atom("MULTIPLE"), request) != request:
            raise RuntimeError("the MULTIPLE request was refused")
        answered = self.take(request)
        if answered is None or len(answered) != len(pairs) or answered[0::2] != pairs[0::2]:
            raise RuntimeError("the MULTIPLE answer is not the list asked: %r" % (answered,))
        return {target: None if answered[2 * i + 1] == X.NONE else self.take(props[i])
                for i, target in enumerate(targets)}

    def atom_names(self, atoms):
        return [self.d.get_atom_name(a) for a in atoms]


def as_bytes(value):
    return value.encode("latin-1") if isinstance(value, str) else bytes(value)
