"""What a screen reader finds in the main window, through AT-SPI: the twelve
channel boxes and six sliders each name their colour and channel (the boxes
also their base), no two alike; the 64 swatches of a first start are each
announced with their index and colour or as empty; by keys alone (Shift+Tab
into the colour box, the menu key, arrows, Shift+F10) a swatch takes the
background colour, is announced with it, and becomes the foreground, which the
code line and the contrast plate then read out, telling the listener.
Usage: screen_reader.py PID WINDOW."""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

pid, window = int(sys.argv[1]), sys.argv[2]


def fail(why):
    sys.exit(f"FAIL: {why}")


def poll(seconds, probe):
    """probe's first true answer within `seconds`, else None."""
    deadline = time.time() + seconds
    while True:
        try:
            answer = probe()
        except GLib.Error:  # an object went away under us; ask again
            answer = None
        if answer or time.time() > deadline:
            return answer
        time.sleep(0.1)


def tree(node):
    yield node
    for child in node:
        if child is not None:
            yield from tree(child)


def named(root, name, role=None):
    return next((n for n in tree(root) if n.name == name and role in (None, n.getRoleName())), None)


def app():
    return next((a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == pid), None)


def keys(*names):
    subprocess.run(["xdotool", "key", "--window", window, *names], check=True)
    time.sleep(0.3)


def heard(event, action, seconds=3):
    """The names of the objects that sent `event` while `action` ran."""
    said = []
    listener = lambda e: said.append(e.source.name)
    pyatspi.Registry.registerEventListener(listener, event)
    action()
    context, deadline = GLib.MainContext.default(), time.time() + seconds
    while time.time() < deadline:
        context.iteration(False) or time.sleep(0.02)
    pyatspi.Registry.deregisterEventListener(listener, event)
    return said


root = poll(20, app) or fail("the program never appeared on the accessibility bus")
main = poll(10, lambda: named(root, "前景颜色") and root) or fail("no frame 前景颜色 in the tree")

# The eighteen channel editors, frame by frame.
channels, bases = ("红色", "绿色", "蓝色"), ("十进制", "十六进制")
editors = []
for frame_name, pair in (("前景颜色", "前景"), ("背景颜色", "背景")):
    frame = named(main, frame_name)
    boxes = [n.name for n in tree(frame) if n.getRoleName() == "text"]
    sliders = [n.name for n in tree(frame) if n.getRoleName() == "slider"]
    if len(boxes) != 6 or len(sliders) != 3:
        fail(f"{frame_name} holds {len(boxes)} boxes and {len(sliders)} sliders, not 6 and 3")
    words = lambda name, choices: [c for c in choices if c in name]
    box_kinds = {(*words(b, channels), *words(b, bases)) for b in boxes if pair in b}
    slider_kinds = {tuple(words(s, channels)) for s in sliders if pair in s}
    if len(box_kinds) != 6 or any(len(k) != 2 for k in box_kinds):
        fail(f"the boxes of {frame_name} do not each name {pair}, a channel and a base: {boxes}")
    if len(slider_kinds) != 3 or any(len(k) != 1 for k in slider_kinds):
        fail(f"the sliders of {frame_name} do not each name {pair} and a channel: {sliders}")
    editors += boxes + sliders
if len(set(editors)) != 18:
    fail(f"the 18 channel editors share names: {editors}")
print("ok: 18 different editor names:", " | ".join(editors))

# The colour box of a first start: 64 empty swatches.
box = named(main, "储存颜色", "list") or fail("no list 储存颜色 in the tree")
said = [box[i].name for i in range(box.childCount)]
# The next capture goes to the first empty swatch, which says so.
slot = "，下次取色存到这里"
want = [f"颜色 {i}：空" + (slot if i == 0 else "") for i in range(64)]
if said != want:
    fail(f"the swatches are announced as {said}")
print(f"ok: {len(said)} swatches announced, from '{said[0]}' to '{said[-1]}'")


def focused_swatch():
    return next((s.name for s in box if s.getState().contains(pyatspi.STATE_FOCUSED)), None)


def expect_focus(name):
    if poll(3, lambda: focused_swatch() == name) is None:
        fail(f"the keyboard is on '{focused_swatch()}', not '{name}'")
    print(f"ok: the keyboard is on '{name}'")


# The preview has the focus at start; Shift+Tab goes round to the colour box.
keys("shift+Tab")
expect_focus("颜色 0：空" + slot)
# The menu key opens the swatch's menu; its fourth entry is 保存背景色.
announced = heard("object:property-change:accessible-name", lambda: keys("Menu", "Down", "Down", "Down", "Return"))
if poll(3, lambda: box[0].name == "颜色 0：#CD890F" + slot) is None or "颜色 0：#CD890F" + slot not in announced:
    fail(f"swatch 0 reads '{box[0].name}' after 保存背景色; heard {announced}")
print(f"ok: swatch 0 announced as '颜色 0：#CD890F{slot}'")
# A swatch selected becomes the capture slot; the one left says so no more.
keys("Right", "Right")
expect_focus("颜色 2：空" + slot)
if poll(3, lambda: box[0].name == "颜色 0：#CD890F") is None:
    fail(f"swatch 0 still reads '{box[0].name}' after the capture slot moved on")
keys("Left", "Left")
expect_focus("颜色 0：#CD890F" + slot)

# Shift+F10 opens it too; its second entry is 设为前景色.
code = named(main, "颜色代码", "text") or fail("no code line 颜色代码 in the tree")
plate = next((n for n in tree(main) if n.getRoleName() == "label" and n.name.startswith("对比度")), None)
plate or fail("no contrast plate named 对比度… in the tree")
before = plate.name
announced = heard("object:property-change:accessible-name", lambda: keys("shift+F10", "Down", "Down", "Return"))
reads = lambda: code.queryText().getText(0, -1)
if poll(3, lambda: re.search(r"前景色.*\[#CD890F\].*背景色", reads())) is None:
    fail(f"after 设为前景色 the code line reads '{reads()}'")
print(f"ok: the code line reads '{reads()}'")
if plate.name == before or plate.name not in announced or "✓" in plate.name + before:
    fail(f"the contrast plate went from '{before}' to '{plate.name}'; heard {announced}")
print(f"ok: the contrast plate announced '{plate.name}' (was '{before}')")

# The frozen frame over the root's pattern (x_probe's): a drag measures the
# foreground, now #CD890F, over every pixel of the region (figures worked out
# from the pattern apart from Tintavo) and names its read-out so; key 4 shows
# the pattern's luminance grey, and a click after it stores the true pixel,
# which the picker announces.
xkeys = lambda *a: subprocess.run(["xdotool", *a], check=True) and time.sleep(0.8)
keys("alt+m")
xkeys("key", "alt+shift+f")
xkeys("mousemove", "900", "700", "mousedown", "1", "mousemove", "930", "710", "mousemove", "959", "719", "mouseup", "1")
want = "区域 60×20  最低 1.28:1  P5 1.33:1  正文 AA 达标 0%  大字 AA 达标 0%"
readout = poll(5, lambda: next((n for n in tree(root) if n.name.startswith("区域")), None))
if readout is None or readout.name != want:
    fail(f"the region's read-out is named '{readout and readout.name}', not '{want}'")
print(f"ok: the read-out is named '{want}'")
xkeys("key", "Escape", "4")
shown = lambda: subprocess.run(["import", "-window", "root", "-crop", "1x1+1000+650", "-depth", "8", "txt:-"],
                               capture_output=True, text=True).stdout
poll(5, lambda: "#A1A1A1" in shown()) or fail(f"key 4 shows {shown()}, not the grey #A1A1A1 of #E88A23")
announced = heard("object:property-change:accessible-name", lambda: xkeys("mousemove", "1000", "650", "click", "1"))
poll(5, lambda: box[0].name.startswith("颜色 0：#E88A23")) or fail(f"the click stored '{box[0].name}'")
print("ok: key 4 shows #E88A23 as #A1A1A1, and a click stores #E88A23")
"已存入颜色 0：#E88A23" in announced or fail(f"the picker did not say where the colour went; heard {announced}")
print("ok: the picker announced '已存入颜色 0：#E88A23'")
xkeys("key", "Escape")
