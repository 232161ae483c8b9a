#!/usr/bin/env python3
"""A seeded random-input run of the real program on the X server in DISPLAY.

It clicks anywhere in the main window, opens right-button menus, types valid
and invalid text, presses access keys and editing keys, runs picker sessions
with Alt+Shift+S, closes whatever dialog opened, starts a second copy on the
same settings file, ends the program with kill -9, SIGTERM or its close button
and starts it again, and leaves the clipboard empty, owned by a dead program or
holding odd types. Any crash, any hang (the window's thread does not answer a
ping within 2 s) and any settings file left broken after an exit fails the run
with the seed and the last 20 events.

Usage: soak.py TINTAVO X_PROBE [--seed N] [--seconds S]
"""
import argparse
import collections
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TEXTS = ["0", "7", "128", "255", "256", "-1", "FF", "7f", "0A", "zz", "#4682B4", "rgb(1 2 3)",
         "红色", "  ", "99999999999", "1e3", "\t", "abc def"]
KEYS = ["Tab", "shift+Tab", "Escape", "Return", "space", "ctrl+c", "ctrl+v", "ctrl+z", "ctrl+shift+z",
        "ctrl+a", "ctrl+shift+c", "alt+g", "alt+b", "alt+r", "alt+t", "alt+a", "ctrl+b", "ctrl+f", "ctrl+s",
        "ctrl+d", "Up", "Down", "Left", "Right", "Home", "End", "Menu", "shift+F10", "BackSpace", "Delete"]
# A file the program has saved before, with colours stored, as a user has it.
INI_START = "[APPSET]\r\nAutoSave=1\r\nAutoLoad=1\r\nnColor=64\r\n[COLOR]\r\nColor0=1971210\r\nColor5=255\r\n"
LINE = re.compile(r"^(\[[^\]\r\n]+\]|[^=\[\r\n]+=[^\r\n]*|)$")


class Failure(Exception):
    pass


def run(*args, timeout=10):
    try:
        return subprocess.run(args, capture_output=True, text=True, timeout=timeout).stdout.strip()
    except subprocess.TimeoutExpired:
        return ""


class Soak:
    def __init__(self, tintavo, probe, seed):
        self.rng = random.Random(seed)
        self.seed = seed
        self.probe = probe
        self.dir = tempfile.mkdtemp(prefix="tintavo-soak-")
        shutil.copy(tintavo, os.path.join(self.dir, "tintavo"))
        self.ini = os.path.join(self.dir, "Tintavo.ini")
        with open(self.ini, "w", newline="") as f:
            f.write(INI_START)
        self.events = collections.deque(maxlen=20)
        self.counts = collections.Counter()
        self.app = self.clip = None

    # The program -----------------------------------------------------------
    def start(self):
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        log = open(os.path.join(self.dir, "log"), "ab")
        proc = subprocess.Popen(["./tintavo"], cwd=self.dir, env=env, stdout=log, stderr=log)
        wid = run("xdotool", "search", "--sync", "--onlyvisible", "--pid", str(proc.pid), timeout=20)
        if not wid:
            self.check_alive(proc)
            raise Failure("no window appeared")
        self.counts["starts"] += 1
        return proc, wid.split()[0]

    def check_alive(self, proc):
        status = proc.poll()
        if status is not None:
            raise Failure(f"the program ended by itself with status {status}")

    def check_ended(self, proc, expected):
        try:
            status = proc.wait(timeout=15)
        except subprocess.TimeoutExpired:
            proc.kill()
            raise Failure("the program did not end")
        if status not in expected:
            raise Failure(f"the program ended with status {status}, not {expected}")
        self.check_file()

    def check_file(self):
        if not os.path.exists(self.ini):
            return
        with open(self.ini, "rb") as f:
            text = f.read().decode("utf-8", "replace")
        for n, line in enumerate(text.split("\r\n"), 1):
            m = re.fullmatch(r"Color(\d+)=(.*)", line, re.I)
            bad_color = m and not (int(m.group(1)) < 32768 and m.group(2).isdigit() and int(m.group(2)) <= 0xFFFFFF)
            if not LINE.match(line) or bad_color:
                raise Failure(f"the settings file is broken at line {n}: {line!r}\n{text}")

    def responsive(self):
        self.counts["pings"] += 1
        if subprocess.run([self.probe, "ping", self.wid]).returncode != 0:
            self.check_alive(self.app)
            raise Failure("the window's thread did not answer within 2 s")

    def windows(self, proc):
        out = run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(proc.pid), "--name", ".")
        return [w for w in out.split() if w != self.wid]

    # The events ------------------------------------------------------------
    def geometry(self):
        out = run("xdotool", "getwindowgeometry", "--shell", self.wid)
        g = dict(line.split("=") for line in out.splitlines() if "=" in line)
        return int(g.get("X", 0)), int(g.get("Y", 0)), int(g.get("WIDTH", 1)), int(g.get("HEIGHT", 1))

    def click(self, button):
        # Only ever into our own window: a right click on the desktop would
        # open the window manager's menu, whose entries end the session.
        run("xdotool", "windowactivate", "--sync", self.wid, timeout=3)
        x, y, w, h = self.geometry()
        px, py = x + self.rng.randrange(max(w, 1)), y + self.rng.randrange(max(h, 1))
        run("xdotool", "mousemove", str(px), str(py), "click", str(button))
        if button == 3:  # a menu, then one of its entries or nothing
            keys = ["Down"] * self.rng.randrange(6) + [self.rng.choice(["Return", "Escape", "Right"])]
            run("xdotool", "key", "--delay", "30", *keys)
        return f"click {button} at ({px - x}, {py - y})"

    def clipboard(self, kind=None):
        if self.clip:
            self.clip.kill()
            self.clip.wait()
            self.clip = None
        kind = kind or self.rng.choice(["dead owner", "text", "image/png", "application/x-odd", "dead owner"])
        mime = {"text": "UTF8_STRING", "dead owner": "UTF8_STRING"}.get(kind, kind)
        self.clip = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-t", mime],
                                     stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.clip.stdin.write(self.rng.choice(TEXTS).encode() if kind == "text" else os.urandom(64))
        self.clip.stdin.close()
        time.sleep(0.1)
        if kind == "dead owner":  # the selection is left with no owner at all
            self.clip.kill()
            self.clip.wait()
            self.clip = None
        return f"clipboard: {kind}"

    def picker(self):
        run("xdotool", "windowactivate", "--sync", self.wid, "key", "alt+m")
        time.sleep(0.3)
        for _ in range(self.rng.randrange(1, 5)):
            run("xdotool", "mousemove", str(self.rng.randrange(1280)), str(self.rng.randrange(1024)))
            run("xdotool", "key", "alt+shift+s")
        for w in self.windows(self.app):
            run("wmctrl", "-i", "-c", w)
        return "picker session"

    def close_dialogs(self):
        for w in self.windows(self.app):
            run("xdotool", "key", "--window", w, "Escape")
            run("wmctrl", "-i", "-c", w)
        return "close dialogs"

    def second_copy(self):
        proc, wid = self.start()
        time.sleep(self.rng.uniform(0.5, 2))
        how = self.rng.choice(["close", "KILL"])
        if how == "close":
            run("wmctrl", "-i", "-c", wid)
        else:
            proc.send_signal(signal.SIGKILL)
        self.check_ended(proc, {0} if how == "close" else {-signal.SIGKILL})
        return f"second copy, {how}"

    def end(self):
        how = self.rng.choice(["close", "TERM", "KILL"])
        if how == "close":
            self.close_dialogs()
            run("wmctrl", "-i", "-c", self.wid)
        else:
            self.app.send_signal(getattr(signal, "SIG" + how))
        self.check_ended(self.app, {0} if how != "KILL" else {-signal.SIGKILL})
        self.app, self.wid = self.start()
        return f"end by {how}, start again"

    def step(self):
        r = self.rng.random()
        if r < 0.30:
            return self.click(1 if self.rng.random() < 0.7 else 3)
        if r < 0.50:
            text = self.rng.choice(TEXTS)
            run("xdotool", "type", "--delay", "5", text)
            return f"type {text!r}"
        if r < 0.78:
            key = self.rng.choice(KEYS)
            run("xdotool", "key", key)
            return f"key {key}"
        if r < 0.86:
            return self.clipboard()
        if r < 0.90:
            return self.picker()
        if r < 0.95:
            return self.close_dialogs()
        if r < 0.975:
            return self.second_copy()
        return self.end()

    def paste_nothing(self):
        """Ctrl+V into the preview's text with a clipboard that has no owner."""
        self.events.append(self.clipboard("dead owner"))
        run("xdotool", "windowactivate", "--sync", self.wid)
        x, y, _, _ = self.geometry()
        run("xdotool", "mousemove", str(x + 120), str(y + 90), "click", "1", "key", "ctrl+v", "shift+F10")
        run("xdotool", "key", "--delay", "50", "Down", "Down", "Down", "Down", "Down", "Return")
        self.events.append("Ctrl+V and the menu's paste in the preview")
        time.sleep(0.3)
        self.check_alive(self.app)
        self.responsive()

    def soak(self, seconds):
        deadline = time.monotonic() + seconds
        try:
            self.app, self.wid = self.start()
            self.paste_nothing()
            while time.monotonic() < deadline:
                self.events.append(self.step())
                self.counts["events"] += 1
                time.sleep(0.05)
                self.check_alive(self.app)
                self.responsive()
            self.close_dialogs()
            self.app.send_signal(signal.SIGTERM)
            self.check_ended(self.app, {0})
        except Failure as failure:
            log = open(os.path.join(self.dir, "log"), errors="replace").read()[-3000:]
            print(f"FAIL (seed {self.seed}): {failure}\nlast events:\n  " + "\n  ".join(self.events) +
                  f"\nprogram output:\n{log}", file=sys.stderr)
            return False
        finally:
            for proc in (self.app, self.clip):
                if proc and proc.poll() is None:
                    proc.kill()
            shutil.rmtree(self.dir, ignore_errors=True)
        c = self.counts
        print(f"ok: seed {self.seed}: {c['events']} events, {c['starts']} starts, {c['pings']} pings "
              "answered, 0 crashes, 0 hangs, 0 broken files")
        return True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tintavo")
    parser.add_argument("probe")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--seconds", type=float, default=60)
    args = parser.parse_args()
    if not os.environ.get("DISPLAY") or not all(shutil.which(t) for t in ("xdotool", "wmctrl", "xclip")):
        print("no X server or tools: skipped")
        return 77
    return 0 if Soak(os.path.abspath(args.tintavo), args.probe, args.seed).soak(args.seconds) else 1


if __name__ == "__main__":
    sys.exit(main())
