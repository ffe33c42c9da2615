#!/usr/bin/env python3
# The window's monkey, run by scripts/monkey inside Xvfb and a private session bus. Every
# action is drawn from a generator seeded by (seed, action number) alone, so any action can be
# reached again by seed and number; where it lands (the window's size, a dialog open) is the
# program's state. It watches for sanitizer logs, exits, hangs of the published scene and the
# growth of the resident memory.
import argparse
import glob
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

BUS = ["gdbus", "call", "--session", "--dest", "org.vorla.vorla", "--object-path", "/Vorla",
       "--method", "org.freedesktop.DBus.Properties.Get", "org.vorla.Scene",
       "DdeServerItemK"]
TITLE = "Vorla  -  "
SCREEN = (1366, 768)
LEFT_COLUMN = 380  # the parameter column's width at the default size; the tabula is right of it
MODS = [[], ["shift"], ["ctrl"], ["alt"], ["shift", "ctrl"], ["shift", "alt"], ["ctrl", "alt"],
        ["shift", "ctrl", "alt"]]
SHORTCUTS = ["ctrl+g", "F5", "F6", "F7", "F8", "F10", "F11", "F12", "ctrl+p", "ctrl+d",
             "ctrl+e", "ctrl+l", "ctrl+n", "ctrl+a", "ctrl+f", "ctrl+v", "ctrl+r", "ctrl+t",
             "ctrl+c", "alt+Left", "alt+Right", "ctrl+F10", "ctrl+F11", "ctrl+u", "ctrl+q",
             "ctrl+s", "F1", "shift+F1", "Escape", "Return", "Tab", "shift+Tab", "space",
             "ctrl+z", "Down", "Up", "Left", "Right", "Home", "End", "Page_Up", "Page_Down",
             "F2", "F3", "F4", "F9", "alt+p", "alt+o", "alt+a", "alt+d", "alt+c", "alt+h",
             "alt+s", "alt+r"]
PICTURES = ["ctrl+g", "ctrl+p", "ctrl+d", "ctrl+e", "ctrl+l", "ctrl+n", "F5", "F6", "F7",
            "F8", "F10", "F11", "F12", "ctrl+a", "ctrl+f", "ctrl+v", "ctrl+r"]
ALT_KEYS = ["alt+1", "alt+2", "alt+3", "alt+4", "alt+5", "alt+shift+1", "alt+shift+2",
            "alt+shift+3", "alt+shift+4", "alt+shift+5", "alt+b", "alt+f", "alt+i", "alt+l",
            "alt+n", "alt+t", "alt+m", "alt+u", "alt+v", "alt+w", "alt+q", "alt+z", "alt+k",
            "alt+9", "alt+shift+b", "alt+shift+i"]
FIELD_KEYS = ["alt+b", "alt+i", "alt+n", "alt+t", "alt+m", "alt+u", "alt+v", "alt+w"]
TEXTS = ["2.5", "1/3", "-7", "1e4000", "abc", "", "0", "-0", "1e-320", "3.141592653589793238",
         "99999999999", "-1/0", "1/0", "0/0", "nan", "inf", "1e308", "-1e308", " 4 ", "1,5",
         "++1", "2.5e", "0x10", "1000000", "-2147483648", "4294967296", "7", "12", "0.001",
         "-3", "1/-3", "..", "e", "-", "/", "5/0.5", "1" * 40]
SIZES = [(1, 1), (40, 30), (200, 150), (640, 480), (922, 569), (1366, 768), (2000, 1500),
         (20000, 15000)]


def run(args, timeout=10.0):
    try:
        return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              timeout=timeout, text=True).stdout
    except subprocess.TimeoutExpired:
        return ""


def xdo(*args):
    return run(["xdotool", *[str(a) for a in args]])


def read_scene(timeout):
    """Seconds a read of the published scene took, or None without an answer in time."""
    start = time.monotonic()
    try:
        subprocess.run(BUS, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=timeout, check=True)
    except (subprocess.TimeoutExpired, subprocess.CalledProcessError):
        return None
    return time.monotonic() - start


def rss_mb(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024.0
    except OSError:
        pass
    return None


class Action:
    """One numbered input: a line for the log and its steps (xdotool argument lists, pauses,
    and named steps that need the window's state)."""

    def __init__(self, what, steps):
        self.what = what
        self.steps = steps


def make_action(seed, k):
    rng = random.Random(f"{seed}:{k}")
    kinds = [("click", 14), ("drag", 10), ("wheel", 6), ("shortcut", 14), ("altkey", 8),
             ("type", 12), ("page", 5), ("example", 4), ("picture", 6), ("resize", 3),
             ("dialog", 8), ("column", 8), ("focus", 3), ("exit", 0.05)]
    kind = rng.choices([n for n, _ in kinds], [w for _, w in kinds])[0]
    mods = rng.choice(MODS)
    button = rng.choice([1, 1, 1, 2, 3])
    fx, fy = rng.random(), rng.random()
    if kind == "click":
        n = rng.choice([1, 1, 2])
        what = f"{'double ' if n == 2 else ''}click {button} {'+'.join(mods) or '-'} " \
               f"on the tabula at ({fx:.3f}, {fy:.3f})"
        return Action(what, [("tabula", fx, fy), ("mods", mods, True),
                             ["click", "--repeat", n, "--delay", 60, button],
                             ("mods", mods, False)])
    if kind == "drag":
        gx, gy = rng.random(), rng.random()
        steps = [("tabula", fx, fy), ("mods", mods, True), ["mousedown", button]]
        for i in range(1, rng.randint(2, 8) + 1):
            t = i / 8.0
            steps += [("tabula", fx + (gx - fx) * min(t, 1), fy + (gy - fy) * min(t, 1)), 0.02]
        steps += [("tabula", gx, gy), ["mouseup", button], ("mods", mods, False)]
        return Action(f"drag {button} {'+'.join(mods) or '-'} on the tabula from "
                      f"({fx:.3f}, {fy:.3f}) to ({gx:.3f}, {gy:.3f})", steps)
    if kind == "wheel":
        wheel = rng.choice([4, 4, 5, 5, 6, 7])
        n = rng.randint(1, 6)
        return Action(f"wheel {wheel} x{n} {'+'.join(mods) or '-'} on the tabula at "
                      f"({fx:.3f}, {fy:.3f})",
                      [("tabula", fx, fy), ("mods", mods, True),
                       ["click", "--repeat", n, "--delay", 30, wheel], ("mods", mods, False)])
    if kind == "shortcut":
        key = rng.choice(SHORTCUTS)
        return Action(f"key {key}", [("focus",), ["key", key]])
    if kind == "altkey":
        key = rng.choice(ALT_KEYS)
        return Action(f"Alt key {key}", [("focus",), ["key", key]])
    if kind == "type":
        text = rng.choice(TEXTS)
        how = rng.choice(["alt", "click", "here"])
        end = rng.choice(["Tab", "Return", "Escape", "shift+Tab", None])
        steps = [("focus",)]
        if how == "alt":
            key = rng.choice(FIELD_KEYS)
            steps.append(["key", key])
            how = key
        elif how == "click":
            steps += [("column", fx, fy), ["click", 1]]
            how = f"a click at ({fx:.3f}, {fy:.3f}) of the column"
        steps += [["key", "Home", "shift+End"], 0.05]
        if text:
            steps.append(["type", "--delay", 20, text])
        if end:
            steps.append(["key", end])
        return Action(f"type '{text}' into the field of {how}, then {end or 'nothing'}", steps)
    if kind == "page":
        n = rng.randint(1, 4)
        key = rng.choice(["ctrl+Tab", "ctrl+shift+Tab"])
        return Action(f"{key} x{n}", [("focus",)] + [["key", key]] * n)
    if kind == "example":
        n = rng.randint(0, 15)
        return Action(f"Examples menu (Alt+E), Down x{n}, Return",
                      [("focus",), ["key", "alt+e"], 0.2] + [["key", "Down"]] * n +
                      [["key", "Return"]])
    if kind == "picture":
        key = rng.choice(PICTURES)
        wait = round(rng.uniform(0, 4), 2)
        stop = rng.choice(["Escape", "STOP", "nothing"])
        steps = [("focus",), ["key", key], wait]
        if stop == "Escape":
            steps.append(["key", "Escape"])
        elif stop == "STOP":
            steps += [("stop",), ["click", 1]]
        return Action(f"picture {key}, after {wait} s stopped by {stop}", steps)
    if kind == "resize":
        if rng.random() < 0.3:
            size = (rng.randint(1, 2600), rng.randint(1, 1800))
        else:
            size = rng.choice(SIZES)
        move = rng.random() < 0.5
        steps = [("resize", size)]
        if move:
            steps.append(("move", 0, 0))
        return Action(f"resize to {size[0]}x{size[1]}{', moved to 0,0' if move else ''}",
                      steps + [0.3])
    if kind == "dialog":
        key = rng.choice(["Escape", "Escape", "Return", "type"])
        if key == "type":
            text = rng.choice(TEXTS + ["pic.png", "x.bmp", "#ff8000", "red"])
            return Action(f"top dialog: type '{text}', Return",
                          [("dialog",), ["type", "--delay", 20, text], ["key", "Return"]])
        return Action(f"top dialog: {key}", [("dialog",), ["key", key]])
    if kind == "column":
        n = rng.choice([1, 1, 1, 2])
        b = rng.choice([1, 1, 1, 3])
        return Action(f"{'double ' if n == 2 else ''}click {b} in the column at "
                      f"({fx:.3f}, {fy:.3f})",
                      [("column", fx, fy), ["click", "--repeat", n, "--delay", 60, b]])
    if kind == "focus":
        return Action("focus the main window", [("focus", True)])
    if rng.random() < 0.5:  # in a field Ctrl+X cuts; the menu's item always ends the program
        return Action("Exit by the Picture menu (Alt+P, x)",
                      [("focus", True), ["key", "alt+p"], 0.2, ["key", "x"]])
    return Action("key ctrl+x (Exit)", [("focus", True), ["key", "ctrl+x"]])


class Monkey:
    def __init__(self, opts):
        self.o = opts
        self.exe = os.path.join(opts.build, "src", "ui", "vorla")
        self.out = opts.out
        self.found = os.path.join(self.out, "findings")
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.found)
        self.log = open(os.path.join(self.out, "actions.log"), "w")
        self.work = tempfile.mkdtemp(prefix="vorla-monkey-")
        self.proc = None
        self.findings = []
        self.notes = []
        self.hangs = 0
        self.slowest = 0.0
        self.slowest_in_time = 0.0  # the slowest read that came within 1 s
        self.reads = 0
        self.seen_logs = set()
        self.instances = []  # [start time, rss after warm-up, last rss]
        self.instance = 0
        self.k = 0

    def say(self, line):
        self.log.write(line + "\n")
        self.log.flush()
        if self.o.replay is not None:
            print(line, flush=True)

    def finding(self, what):
        line = f"FINDING seed {self.o.seed} action {self.k}: {what}"
        self.findings.append(line)
        self.say(line)
        print(line, flush=True)

    # The program.
    def start(self):
        self.instance += 1
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        env["ASAN_OPTIONS"] = ("quarantine_size_mb=0:thread_local_quarantine_size_kb=0:"
                               "detect_leaks=1:malloc_context_size=30:"
                               f"log_path={self.found}/asan")
        env["UBSAN_OPTIONS"] = f"print_stacktrace=1:halt_on_error=0:log_path={self.found}/ubsan"
        supp = os.path.join(os.path.dirname(os.path.abspath(__file__)), "monkey.lsan.supp")
        if os.path.exists(supp):
            env["LSAN_OPTIONS"] = f"suppressions={supp}:print_suppressions=0"
        out = open(os.path.join(self.out, f"vorla-{self.instance}.log"), "w")
        self.proc = subprocess.Popen([self.exe], cwd=self.work, env=env, stdout=out,
                                     stderr=subprocess.STDOUT, start_new_session=True)
        self.win = None
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline and self.proc.poll() is None:
            if self.win is None:
                ids = xdo("search", "--pid", self.proc.pid, "--name", TITLE).split()
                self.win = ids[0] if ids else None
            if self.win and read_scene(2.0) is not None:
                break
            time.sleep(0.3)
        else:
            if self.proc.poll() is None:
                self.finding("the window did not publish its scene within 60 s of its start")
            return False
        xdo("windowfocus", "--sync", self.win)
        self.instances.append([time.monotonic(), None, None])
        self.say(f"-- program started (instance {self.instance}, pid {self.proc.pid})")
        return True

    def ended(self):
        """Notes an exit of the program; True when it had ended."""
        code = self.proc.poll() if self.proc else None
        if self.proc is None or code is None:
            return False
        self.proc = None
        self.check_logs()
        if code == 0:
            self.notes.append(f"action {self.k}: the program exited with status 0; restarted")
            self.say(f"-- the program exited with status 0 after action {self.k}")
        else:
            self.finding(f"the program ended with status {code}")
        return True

    def check_logs(self):
        for path in sorted(glob.glob(os.path.join(self.found, "[au][sb]san.*"))):
            if path in self.seen_logs or os.path.getsize(path) == 0:
                continue
            self.seen_logs.add(path)
            with open(path, errors="replace") as f:
                text = f.read()
            head = next((l for l in text.splitlines() if "ERROR" in l or "runtime error" in l
                         or "SUMMARY" in l), text.splitlines()[0] if text else "")
            self.finding(f"sanitizer log {os.path.basename(path)}: {head.strip()}")

    def sample(self):
        mb = rss_mb(self.proc.pid)
        inst = self.instances[-1] if self.instances else None
        if mb is None or inst is None:
            return
        if inst[1] is None and time.monotonic() - inst[0] >= self.o.warmup:
            inst[1] = mb
            self.say(f"-- warm-up done: VmRSS {mb:.1f} MB")
        inst[2] = mb

    def check(self):
        """A scene read within 1 s; on none, a stack dump and a wait for recovery."""
        took = read_scene(5.0)
        if self.proc.poll() is not None:
            return
        self.reads += 1
        if took is not None:
            self.slowest = max(self.slowest, took)
        if took is not None and took <= 1.0:
            self.slowest_in_time = max(self.slowest_in_time, took)
            self.sample()
            return
        self.hangs += 1
        dump = os.path.join(self.found, f"hang-{self.k}.txt")
        with open(dump, "w") as f:
            subprocess.run(["gdb", "-p", str(self.proc.pid), "-batch", "-ex",
                            "thread apply all bt"], stdout=f, stderr=subprocess.STDOUT,
                           timeout=300)
        self.finding(f"no answer to a scene read within 1 s "
                     f"({'none within 5 s' if took is None else f'{took:.2f} s'}); "
                     f"stacks in {dump}")
        for _ in range(6):
            if read_scene(5.0) is not None:
                return
        self.say("-- no recovery: killed")
        self.kill()

    def kill(self):
        if self.proc:
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait()
            self.proc = None

    # The steps.
    def geometry(self):
        g = {}
        for line in xdo("getwindowgeometry", "--shell", self.win).splitlines():
            name, _, value = line.partition("=")
            g[name] = int(value) if value.lstrip("-").isdigit() else 0
        return g.get("X", 0), g.get("Y", 0), max(g.get("WIDTH", 1), 1), max(g.get("HEIGHT", 1), 1)

    def point(self, x, y):
        return [min(max(int(x), 0), SCREEN[0] - 1), min(max(int(y), 0), SCREEN[1] - 1)]

    def dialogs(self):
        ids = xdo("search", "--onlyvisible", "--pid", self.proc.pid).split()
        return [i for i in ids if i != self.win]

    def step(self, s):
        if isinstance(s, float):
            time.sleep(s)
        elif isinstance(s, list):
            xdo(*s)
        elif s[0] in ("tabula", "column", "stop"):
            x, y, w, h = self.geometry()
            if s[0] == "tabula":
                left = min(LEFT_COLUMN + 5, w // 2)
                px = x + left + s[1] * max(w - left - 2, 1)
                py = y + 20 + s[2] * max(h - 44, 1)
            elif s[0] == "column":
                px = x + s[1] * min(LEFT_COLUMN, w)
                py = y + 20 + s[2] * max(h - 20, 1)
            else:  # the STOP image, at the right of the column's button row
                px, py = x + min(300, w - 1), y + 75
            xdo("mousemove", *self.point(px, py))
        elif s[0] == "mods":
            if s[1]:
                xdo("keydown" if s[2] else "keyup", "+".join(s[1]))
        elif s[0] == "focus":
            mine = [self.win] + self.dialogs()
            if (len(s) > 1 and s[1]) or xdo("getwindowfocus").strip() not in mine:
                xdo("windowfocus", self.win)
        elif s[0] == "dialog":
            others = self.dialogs()
            if others:
                xdo("windowfocus", others[-1])
        elif s[0] == "resize":
            xdo("windowsize", self.win, *s[1])
        elif s[0] == "move":
            xdo("windowmove", self.win, s[1], s[2])

    def close(self):
        """Ends the program by its Exit command, so that the leak check runs at its exit."""
        for _ in range(4):
            for d in self.dialogs():
                xdo("windowfocus", d)
                xdo("key", "Escape")
            time.sleep(0.3)
        xdo("windowfocus", self.win)
        xdo("key", "Escape", "alt+p", "x")
        try:
            self.proc.wait(timeout=120)
        except subprocess.TimeoutExpired:
            self.notes.append("the program did not end by its Exit command; killed")
            self.kill()
            return
        code = self.proc.returncode
        self.proc = None
        self.check_logs()
        if code != 0:
            self.finding(f"the program ended with status {code} at its Exit")

    def go(self):
        o = self.o
        limit = o.replay if o.replay is not None else None
        end = time.monotonic() + o.minutes * 60
        self.say(f"-- seed {o.seed}, program {self.exe}, working folder {self.work}")
        restarts = 0
        self.stopped = False

        def stop(*_):  # an interrupted run still closes the program and reports
            self.stopped = True

        signal.signal(signal.SIGTERM, stop)
        signal.signal(signal.SIGINT, stop)
        while not self.stopped and ((limit is None and time.monotonic() < end) or
                                    (limit is not None and self.k < limit)):
            if self.proc is None:
                if restarts > 20 or not self.start():
                    self.finding("the program could not be started again")
                    break
                restarts += 1
            self.k += 1
            a = make_action(o.seed, self.k)
            self.say(f"{self.k:6d}  {a.what}")
            for s in a.steps:
                self.step(s)
            time.sleep(o.pause if limit is None else 0.7)
            if self.ended():
                continue
            if self.k % 3 == 0 or limit is not None:
                self.check()
                self.check_logs()
                self.ended()
        if self.proc:
            self.check()
            self.sample()
        if self.proc:
            self.close()
        shutil.rmtree(self.work, ignore_errors=True)
        return self.report()

    def report(self):
        grown = [(i[2] - i[1], i[1], i[2]) for i in self.instances if i[1] is not None]
        growth = max(grown)[0] if grown else None
        if growth is not None and growth > self.o.max_growth:
            self.finding(f"memory grew {growth:.1f} MB after the warm-up "
                         f"(more than {self.o.max_growth} MB)")
        for n in self.notes:
            self.say(f"-- note: {n}")
        mem = ("no instance lived past the warm-up" if growth is None else
               f"memory growth {growth:.1f} MB after a {self.o.warmup:.0f} s warm-up "
               f"(VmRSS {max(grown)[1]:.1f} -> {max(grown)[2]:.1f} MB)")
        line = (f"monkey: seed {self.o.seed}, {self.k} actions, {len(self.findings)} findings, "
                f"{self.hangs} hangs, {self.reads} scene reads, the slowest "
                f"{self.slowest * 1000:.0f} ms (of those within 1 s, "
                f"{self.slowest_in_time * 1000:.0f} ms), {mem}, {len(self.instances)} program starts; "
                f"log {self.out}/actions.log")
        self.say(line)
        if self.o.replay is None:
            print(line)
        for f in self.findings:
            print(f)
        if self.findings:
            k = min(int(f.split()[4].rstrip(":")) for f in self.findings)
            print(f"replay: scripts/monkey --seed {self.o.seed} --replay {max(k, 1)} "
                  f"--build {self.o.build}")
        return 1 if self.findings else 0


def main():
    p = argparse.ArgumentParser(description="A seeded random-input driver for the window.")
    p.add_argument("--seed", type=int, default=None)
    p.add_argument("--minutes", type=float, default=5.0)
    p.add_argument("--build", required=True)
    p.add_argument("--replay", type=int, default=None, metavar="K",
                   help="run the seed's actions 1 to K slowly, logging each")
    p.add_argument("--out", default=None, help="log and findings folder (default BUILD/monkey)")
    p.add_argument("--pause", type=float, default=0.1, help="seconds between actions")
    p.add_argument("--max-growth", type=float, default=50.0, help="MB allowed after warm-up")
    o = p.parse_args()
    o.build = os.path.abspath(o.build)
    if o.seed is None:
        o.seed = int.from_bytes(os.urandom(3), "big")
    o.out = os.path.abspath(o.out or os.path.join(o.build, "monkey"))
    o.warmup = min(60.0, o.minutes * 60 / 4)
    print(f"monkey: seed {o.seed}, {'replay to action %d' % o.replay if o.replay is not None else '%g minutes' % o.minutes}, "
          f"log and findings in {o.out}", flush=True)
    sys.exit(Monkey(o).go())


if __name__ == "__main__":
    main()
