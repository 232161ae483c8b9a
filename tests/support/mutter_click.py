#!/usr/bin/env python3
"""Usage: mutter_click.py CONNECTOR. Clicks the left button and presses keys on
a real GNOME Shell through Mutter's remote desktop, as a remote desktop client
does: a session with a screen cast of the monitor CONNECTOR, in whose pixels
absolute motion is given. Says "ready" once the session's stream is in
PipeWire and its pointer exists, then for each line read clicks at "X Y" or
presses and releases the evdev key "key CODE", and says "done"; the session
ends with the input."""
import sys
from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION)
loop = GLib.MainLoop()


def call(path, interface, method, args=None, dest="org.gnome.Mutter.RemoteDesktop"):
    return bus.call_sync(dest, path, interface, method, args, None,
                         Gio.DBusCallFlags.NONE, 5000, None).unpack()


def wait(seconds):
    GLib.timeout_add(int(seconds * 1000), loop.quit)
    loop.run()


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
# GNOME takes no screenshot while the stream is being set up: the session is
# ready once the stream is in PipeWire.
added = []
bus.signal_subscribe("org.gnome.Mutter.ScreenCast", "org.gnome.Mutter.ScreenCast.Stream",
                     "PipeWireStreamAdded", stream, None, Gio.DBusSignalFlags.NONE,
                     lambda *_: (added.append(True), loop.quit()))
session = "org.gnome.Mutter.RemoteDesktop.Session"
call(desktop, session, "Start")
if not added:
    wait(10)
if not added:
    sys.exit("the screen cast never reached PipeWire")
# The seat gains its pointer with the first event: it is there, off the
# point to be clicked, before the picker's window comes.
call(desktop, session, "NotifyPointerMotionAbsolute", GLib.Variant("(sdd)", (stream, 10, 700)))
wait(0.5)
print("ready", flush=True)
for line in sys.stdin:
    words = line.split()
    if words[0] == "key":
        for pressed in (True, False):
            call(desktop, session, "NotifyKeyboardKeycode", GLib.Variant("(ub)", (int(words[1]), pressed)))
            wait(0.1)
    else:
        x, y = map(float, words)
        call(desktop, session, "NotifyPointerMotionAbsolute", GLib.Variant("(sdd)", (stream, x, y)))
        wait(0.3)
        for pressed in (True, False):  # BTN_LEFT
            call(desktop, session, "NotifyPointerButton", GLib.Variant("(ib)", (0x110, pressed)))
            wait(0.1)
    print("done", flush=True)
call(desktop, session, "Stop")
