#!/usr/bin/python3
"""A stand-in for the desktop portal on a private session bus: GlobalShortcuts
(CreateSession, BindShortcuts, Activated) and Screenshot, each answering through
a Request object as the real portal does. The test steers it through the
org.vantrel.test.FakePortal interface:
  SetScreenshot(mode, path)  mode "answer" (the picture at path), "refuse", "silent"
  Activate()                 every bound shortcut is pressed
It writes one line per call to the log file given as its first argument; a
second argument "refuse-shortcuts" makes it turn every binding down."""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

BUS_NAME = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"
SCREENSHOT = "org.freedesktop.portal.Screenshot"
REQUEST = "org.freedesktop.portal.Request"
SESSION = "org.freedesktop.portal.Session"
CONTROL = "org.vantrel.test.FakePortal"


def log(line):
    with open(sys.argv[1], "a") as f:
        f.write(line + "\n")


def handle_path(kind, sender, token):
    return "%s/%s/%s/%s" % (PATH, kind, sender.lstrip(":").replace(".", "_"), token)


class Request(dbus.service.Object):
    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, response, results):
        pass

    @dbus.service.method(REQUEST)
    def Close(self):
        log("request closed")
        self.remove_from_connection()


class Session(dbus.service.Object):
    def __init__(self, bus, path, portal):
        super().__init__(bus, path)
        self.portal = portal

    @dbus.service.method(SESSION)
    def Close(self):
        log("session closed")
        self.portal.sessions.pop(self.__dbus_object_path__, None)
        self.remove_from_connection()


class Portal(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus = bus
        self.sessions = {}  # session path -> [shortcut ids]
        self.mode, self.picture = "answer", ""

    def answer(self, sender, options, response, results):
        # Before the method returns: a client that subscribes only after the call
        # misses this, as it could miss a fast real portal's answer.
        path = handle_path("request", sender, str(options.get("handle_token", "t")))
        request = Request(self.bus, path)
        if response is not None:
            request.Response(dbus.UInt32(response), dbus.Dictionary(results, signature="sv"))
            request.remove_from_connection()
        return dbus.ObjectPath(path)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, prop):
        if interface in (SHORTCUTS, SCREENSHOT) and prop == "version":
            return dbus.UInt32(1)
        raise dbus.exceptions.DBusException("no such property", name="org.freedesktop.DBus.Error.InvalidArgs")

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"version": dbus.UInt32(1)} if interface in (SHORTCUTS, SCREENSHOT) else {}

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender):
        session = handle_path("session", sender, str(options["session_handle_token"]))
        Session(self.bus, session, self)
        self.sessions[session] = []
        log("session created")
        return self.answer(sender, options, 0, {"session_handle": dbus.String(session)})

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender):
        if str(session) not in self.sessions:
            raise dbus.exceptions.DBusException("no such session", name="org.freedesktop.portal.Error.NotFound")
        if sys.argv[2:3] == ["refuse-shortcuts"]:
            log("bind refused")
            return self.answer(sender, options, 2, {})
        bound = []
        for sid, props in shortcuts:
            log("bind %s %s (%s)" % (sid, props.get("preferred_trigger", ""), props.get("description", "")))
            self.sessions[str(session)].append(str(sid))
            bound.append(dbus.Struct((sid, dbus.Dictionary({"description": props.get("description", ""),
                                                           "trigger_description": props.get("preferred_trigger", "")},
                                                          signature="sv"))))
        return self.answer(sender, options, 0, {"shortcuts": dbus.Array(bound, signature="(sa{sv})")})

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass

    @dbus.service.method(SCREENSHOT, in_signature="sa{sv}", out_signature="o", sender_keyword="sender")
    def Screenshot(self, parent, options, sender):
        log("screenshot %s interactive=%s" % (self.mode, bool(options.get("interactive", True))))
        if self.mode == "refuse":
            return self.answer(sender, options, 1, {})
        if self.mode == "silent":
            return self.answer(sender, options, None, {})
        return self.answer(sender, options, 0, {"uri": dbus.String("file://" + self.picture)})

    @dbus.service.method(CONTROL, in_signature="ss")
    def SetScreenshot(self, mode, path):
        self.mode, self.picture = str(mode), str(path)

    @dbus.service.method(CONTROL)
    def Activate(self):
        for session, ids in self.sessions.items():
            for sid in ids:
                self.Activated(dbus.ObjectPath(session), sid, dbus.UInt64(0), dbus.Dictionary({}, signature="sv"))


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    portal = Portal(bus)
    name = dbus.service.BusName(BUS_NAME, bus, do_not_queue=True)
    log("ready")
    GLib.MainLoop().run()
    del name, portal


if __name__ == "__main__":
    main()
