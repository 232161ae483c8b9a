#!/usr/bin/env python3
"""Usage: mutter_click.py CONNECTOR. Clicks the left button on a real GNOME
Shell through Mutter's remote desktop, as a remote desktop client does: a
session with a screen cast of the monitor CONNECTOR, in whose pixels absolute
motion is given. Says "ready" once the session's pointer exists, then clicks at
each "X Y" line read and says "clicked"; the session ends with the input."""
import sys
import time
from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION)


def call(path, interface, method, args=None, dest="org.gnome.Mutter.RemoteDesktop"):
    return bus.call_sync(dest, path, interface, method, args, None,
                         Gio.DBusCallFlags.NONE, 5000, None).unpack()


desktop = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop",
               "CreateSession")[0]
session_id = call(desktop, "org.freedesktop.DBus.Properties", "Get",
                  GLib.Variant("(ss)", ("org.gnome.Mutter.RemoteDesktop.Session", "SessionId")))[0]
cast = call("/org/gnome/Mutter/ScreenCast", "org.gnome.Mutter.ScreenCast", "CreateSession",
            GLib.Variant("(a{sv})", ({"remote-desktop-session-id": GLib.Variant("s", session_id)},)),
            dest="org.gnome.Mutter.ScreenCast")[0]
stream = call(cast, "org.gnome.Mutter.ScreenCast.Session", "RecordMonitor",
              GLib.Variant("(sa{sv})", (sys.argv[1], {})),
              dest="org.gnome.Mutter.ScreenCast")[0]
session = "org.gnome.Mutter.RemoteDesktop.Session"
call(desktop, session, "Start")
# The seat gains its pointer with the first event; clients started before that
# would see the pointer appear under them with no enter, and no clicks.
call(desktop, session, "NotifyPointerMotionAbsolute", GLib.Variant("(sdd)", (stream, 10, 700)))
time.sleep(0.5)
print("ready", flush=True)
for line in sys.stdin:
    x, y = map(float, line.split())
    call(desktop, session, "NotifyPointerMotionAbsolute", GLib.Variant("(sdd)", (stream, x, y)))
    time.sleep(0.3)
    for pressed in (True, False):  # BTN_LEFT
        call(desktop, session, "NotifyPointerButton", GLib.Variant("(ib)", (0x110, pressed)))
        time.sleep(0.1)
    print("clicked", flush=True)
call(desktop, session, "Stop")
