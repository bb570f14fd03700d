#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up of the program against a bare Qt Widgets window, under Xvfb.

Each program has a home of its own, kept from one start to the next as a user's is (the caches
the program and the graphics driver keep are warm after a first start, which is not counted), and
starts on a session bus of the bench's own (as on a desktop, where the program first asks the bus
for a running copy of itself); the programs take turns.
For each: the time from process start until its window is mapped (the X server's MapNotify, no
polling) and until its first paint is on the screen (the middle of the window leaves the screen's
background; read back every millisecond), the median of the runs; the resident memory of the idle
window; and whether the browser engine has started before any search.

The yardsticks: bench/minimal_window (a QMainWindow and nothing else), and the same window made
with the surface the program's window needs for the engine's view (the OpenGL context shared
with the engine and a hidden QOpenGLWidget), the part of the start-up no window with the engine
can do without.

    startup.py [build folder]        GL_BENCH_RUNS: runs of each program (7)
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing left in the source folder
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xwindows  # noqa: E402

RUNS = int(os.environ.get("GL_BENCH_RUNS", "7"))
SAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples")


def rss_kib(pid):
    total = 0
    for p in [pid] + children(pid):
        try:
            with open(f"/proc/{p}/status") as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass
    return total


def children(pid):
    out = subprocess.run(["pgrep", "-P", str(pid)], capture_output=True, text=True).stdout
    return [int(p) for p in out.split()]


def engine_started(pid):
    for child in children(pid):
        try:
            with open(f"/proc/{child}/cmdline", "rb") as f:
                if b"QtWebEngineProcess" in f.read():
                    return True
        except FileNotFoundError:
            pass
    return False


class SessionBus:
    """A session bus of the bench's own (the system's session configuration)."""

    def __init__(self):
        self.process = None
        self.address = None
        if not shutil.which("dbus-daemon"):
            return
        self.process = subprocess.Popen(["dbus-daemon", "--session", "--nofork",
                                         "--print-address=1"], stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        self.address = self.process.stdout.readline().strip() or None

    def close(self):
        if self.process:
            self.process.terminate()
            self.process.wait()
            self.process.stdout.close()


class Contender:
    def __init__(self, label, command, title, cwd):
        self.label, self.command, self.title, self.cwd = label, command, title, cwd
        self.mapped, self.painted, self.rss = [], [], []
        self.engine = False
        self.home = tempfile.mkdtemp(prefix="gl-startup-")

    def close(self):
        shutil.rmtree(self.home, ignore_errors=True)

    def run(self, bus, keep_running=1.0, counted=True):
        home = self.home
        env = dict(os.environ)
        for name, sub in (("HOME", ""), ("XDG_CONFIG_HOME", ".config"),
                          ("XDG_DATA_HOME", "data"), ("XDG_CACHE_HOME", "cache")):
            env[name] = os.path.join(home, sub)
        if bus.address:
            env["DBUS_SESSION_BUS_ADDRESS"] = bus.address
        else:
            env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        screen = xwindows.Screen()
        background = screen.clear()
        try:
            start = time.perf_counter()
            process = subprocess.Popen(self.command, cwd=self.cwd, env=env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                mapped, window = screen.wait_mapped(self.title)
                x, y, width, height = screen.geometry(window)
                painted = screen.wait_changed((x + width // 2, y + height // 2), background)
                time.sleep(keep_running)
                if counted:
                    self.mapped.append((mapped - start) * 1000)
                    self.painted.append((painted - start) * 1000)
                    self.rss.append(rss_kib(process.pid))
                    self.engine = self.engine or engine_started(process.pid)
            finally:
                process.kill()
                process.wait()
        finally:
            screen.close()
        time.sleep(0.2)  # the bus has seen the program go


def load_average():
    return f"{os.getloadavg()[0]:.1f} on {os.cpu_count()} cores"


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    minimal = os.path.join(build, "bench", "minimal_window")
    empty = tempfile.mkdtemp(prefix="gl-startup-")
    ours = Contender("Glen Lantern", [os.path.join(build, "glenlantern")], "Glen Lantern",
                     SAMPLES)
    bare = Contender("bare window", [minimal], "Minimal Window", empty)
    surface = Contender("bare window, engine's surface", [minimal, "--engine-surface"],
                        "Minimal Window", empty)
    bus = SessionBus()
    load_before = load_average()
    contenders = (ours, bare, surface)
    try:
        for contender in contenders:
            contender.run(bus, counted=False)
        for _ in range(RUNS):
            for contender in contenders:
                contender.run(bus)
    finally:
        bus.close()
        for contender in contenders:
            contender.close()
        shutil.rmtree(empty, ignore_errors=True)
    print(f"start-up under Xvfb, median of {RUNS} runs taking turns; "
          f"{'a session bus' if bus.address else 'no session bus'}; load average "
          f"{load_before} before, {load_average()} after")
    print(f"{'':30} {'ours':>8} {'bare':>8} {'ratio':>6} {'bare+GL':>8} {'ratio':>6}")
    for label, attribute in (("time to window mapped, ms", "mapped"),
                             ("time to first paint, ms", "painted")):
        o, b, s = (statistics.median(getattr(c, attribute)) for c in (ours, bare, surface))
        print(f"{label:30} {o:8.0f} {b:8.0f} {o / b:6.2f} {s:8.0f} {o / s:6.2f}")
    o, b, s = (statistics.median(c.rss) / 1024 for c in (ours, bare, surface))
    print(f"{'idle memory (RSS), MiB':30} {o:8.1f} {b:8.1f} {o / b:6.2f} {s:8.1f} {o / s:6.2f}")
    print(f"browser engine started before a search: {'yes' if ours.engine else 'no'}")
    print(f"(bare: a QMainWindow alone; bare+GL: the same with the engine's OpenGL surface; "
          f"fastest runs ours/bare/bare+GL mapped {min(ours.mapped):.0f}/{min(bare.mapped):.0f}/"
          f"{min(surface.mapped):.0f} ms)")


if __name__ == "__main__":
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x900x24 -noreset",
                               sys.executable] + sys.argv)
    main()
