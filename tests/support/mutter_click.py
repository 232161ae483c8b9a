#!/usr/bin/env python3
"""Usage: mutter_click.py CONNECTOR X Y. Clicks the left button at (X, Y) on
a real GNOME Shell through Mutter's remote desktop, as a remote desktop client
does: a session with a screen cast of the monitor CONNECTOR, in whose pixels
absolute motion is given. The session is open only for the click, so that no
screen cast runs while the desktop takes the picture picked from."""
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
time.sleep(0.5)
x, y = map(float, sys.argv[2:4])
call(desktop, session, "NotifyPointerMotionAbsolute", GLib.Variant("(sdd)", (stream, x, y)))
time.sleep(0.3)
for pressed in (True, False):  # BTN_LEFT
    call(desktop, session, "NotifyPointerButton", GLib.Variant("(ib)", (0x110, pressed)))
    time.sleep(0.1)
call(desktop, session, "Stop")
