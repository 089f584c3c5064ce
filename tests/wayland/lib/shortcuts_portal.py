#!/usr/bin/python3
"""A desktop portal that offers GlobalShortcuts (as KDE Plasma's does) on the bus it runs on.

Usage: shortcuts_portal.py RECORD
Each BindShortcuts call appends its shortcuts to RECORD as one JSON line ({id: {property: value}}).
Its own method org.zentrap.test.ShortcutsPortal.Press(id) activates a bound shortcut, as the
desktop does when the user types its keys; it answers whether a session had that shortcut.
"""
import json
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Session(dbus.service.Object):
    def __init__(self, bus, path, sessions):
        super().__init__(bus, path)
        self.path, self.sessions = path, sessions

    @dbus.service.method("org.freedesktop.portal.Session")
    def Close(self):
        self.sessions.pop(self.path, None)
        self.remove_from_connection()


class Portal(dbus.service.Object):
    def __init__(self, bus, record):
        super().__init__(bus, PATH)
        self.bus, self.record, self.sessions = bus, record, {}

    def answer(self, sender, token, results):
        """The request object for TOKEN, its Response sent once the call has returned."""
        path = f"{PATH}/request/{sender[1:].replace('.', '_')}/{token}"
        request = Request(self.bus, path)

        def respond():
            request.Response(dbus.UInt32(0), dbus.Dictionary(results, signature="sv"))
            request.remove_from_connection()
            return False

        GLib.idle_add(respond)
        return dbus.ObjectPath(path)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == SHORTCUTS and name == "version":
            return dbus.UInt32(1)
        raise dbus.exceptions.DBusException(f"no {interface}.{name}", name="org.freedesktop.DBus.Error.InvalidArgs")

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender):
        session = f"{PATH}/session/{sender[1:].replace('.', '_')}/{options['session_handle_token']}"
        Session(self.bus, session, self.sessions)
        self.sessions[session] = {}
        return self.answer(sender, options["handle_token"], {"session_handle": dbus.String(session)})

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent_window, options, sender):
        bound = {str(name): {str(k): str(v) for k, v in properties.items()} for name, properties in shortcuts}
        self.sessions[str(session)] = bound
        with open(self.record, "a", encoding="utf-8") as record:
            record.write(json.dumps(bound) + "\n")
        given = dbus.Array([(name, {"description": p["description"]}) for name, p in bound.items()],
                           signature="(sa{sv})")
        return self.answer(sender, options["handle_token"], {"shortcuts": given})

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass

    @dbus.service.method("org.zentrap.test.ShortcutsPortal", in_signature="s", out_signature="b")
    def Press(self, shortcut):
        for session, bound in self.sessions.items():
            if shortcut in bound:
                self.Activated(dbus.ObjectPath(session), shortcut, dbus.UInt64(0), dbus.Dictionary({}, signature="sv"))
                return True
        return False


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
portal = Portal(bus, sys.argv[1])
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
print("ready", flush=True)
GLib.MainLoop().run()
