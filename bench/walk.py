#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Walking a term list through the browser pane, under Xvfb.

A local server answers each search after a delay with a page of its own colour and the term in
large letters. The program starts in a folder of its own with a list of terms; the Down key
steps through them, one step a second, and each step is timed from the key press (sent with
XTest) until the new page's colour is on the screen (read back with XGetImage). The same walk
runs through a bare QWebEngineView beside a list (bench/bare_view) as the yardstick.

    walk.py [build folder] [walk|first|all|case]   the walk and memory figures, the first
                                              click, Search All over 12 services, the walk
                                              recorded in a case and its captures, or all

Environment: GL_WALK_STEPS (20), GL_WALK_DELAY_MS (300), GL_WALK_RUNS for the first click (5).
"""

import ctypes
import http.server
import os
import shutil
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

STEPS = int(os.environ.get("GL_WALK_STEPS", "20"))
DELAY_MS = int(os.environ.get("GL_WALK_DELAY_MS", "300"))
FIRST_RUNS = int(os.environ.get("GL_WALK_RUNS", "5"))


def colour(i):
    """The background of term i's page: neighbours differ in every channel."""
    return (40 + (i * 53) % 200, 40 + (i * 97) % 200, 40 + (i * 29) % 200)


class Server:
    """Answers /s?q=term<i> after the delay with term i's page; keeps when each request came."""

    def __init__(self, delay_ms):
        self.arrivals = {}
        self.answered = []  # when each search's answer was sent
        outer = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_GET(self):  # noqa: N802
                query = urllib.parse.parse_qs(urllib.parse.urlparse(self.path).query)
                term = query.get("q", [""])[0]
                if term.startswith("term"):
                    outer.arrivals.setdefault(int(term[4:]), time.perf_counter())
                    time.sleep(delay_ms / 1000)
                    r, g, b = colour(int(term[4:]))
                    body = (f"<html><head><title>{term}</title></head>"
                            f"<body style='margin:0;background:rgb({r},{g},{b})'>"
                            f"<h1 style='font:64px sans-serif;color:white'>{term}</h1>"
                            f"<p style='font:20px sans-serif;color:white'>A result page with "
                            f"visible text.</p></body></html>").encode()
                    self.send_response(200)
                    self.send_header("Content-Type", "text/html; charset=utf-8")
                else:
                    body = b""
                    self.send_response(404)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
                if body:
                    outer.answered.append(time.perf_counter())

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.handle_error = lambda *args: None  # a program ended mid-request
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Display:
    """The X display through Xlib and XTest: one pixel read back, keys and clicks sent."""

    class XImage(ctypes.Structure):
        _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int),
                    ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
                    ("data", ctypes.POINTER(ctypes.c_ubyte))]

    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(Display.XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("walk.py: cannot open the X display")
        self.root = self.x.XDefaultRootWindow(self.display)

    def pixel(self, x, y):
        image = self.x.XGetImage(self.display, self.root, x, y, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        data = image.contents.data
        b, g, r = data[0], data[1], data[2]
        self.x.XFree(ctypes.cast(data, ctypes.c_void_p))
        self.x.XFree(ctypes.cast(image, ctypes.c_void_p))
        return r, g, b

    def key(self, keysym):
        code = self.x.XKeysymToKeycode(self.display, keysym)
        self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x.XFlush(self.display)

    def click(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        self.xtst.XTestFakeButtonEvent(self.display, 1, 1, 0)
        self.xtst.XTestFakeButtonEvent(self.display, 1, 0, 0)
        self.x.XFlush(self.display)


XK_DOWN, XK_TAB = 0xFF54, 0xFF09


def near(a, b):
    return all(abs(p - q) <= 4 for p, q in zip(a, b))


def wait_colour(display, point, wanted, timeout=10.0):
    """Seconds from now until the point shows the colour; None when it never does."""
    start = time.perf_counter()
    while time.perf_counter() - start < timeout:
        if near(display.pixel(*point), wanted):
            return time.perf_counter()
        time.sleep(0.001)
    return None


def window_geometry(title, timeout=60):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                               capture_output=True, text=True).stdout.split()
        if found:
            out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", found[0]],
                                 capture_output=True, text=True).stdout
            values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
            if "X" in values:
                return found[0], int(values["X"]), int(values["Y"]), int(values["WIDTH"]), \
                    int(values["HEIGHT"])
        time.sleep(0.02)
    raise SystemExit(f"walk.py: no window '{title}'")


def tree_pss_mib(pid):
    """The memory of the process and all its descendants (the engine's helper processes), each
    shared page counted once: the sum of their proportional set sizes."""
    pids, total = [pid], 0
    while pids:
        p = pids.pop()
        out = subprocess.run(["pgrep", "-P", str(p)], capture_output=True, text=True).stdout
        pids.extend(int(c) for c in out.split())
        try:
            with open(f"/proc/{p}/smaps_rollup") as f:
                total += next(int(line.split()[1]) for line in f if line.startswith("Pss:"))
        except (OSError, StopIteration):  # a helper process that ended meanwhile
            pass
    return total / 1024


class Program:
    """The program (or the bare view) started in a folder and a home of its own."""

    def __init__(self, build, kind, server, load_ahead=True, terms=STEPS + 1, services=1,
                 case=False, pgpass=None):
        self.folder = tempfile.mkdtemp(prefix="gl-walk-")
        self.terms = [f"term{i}" for i in range(terms)]
        address = f"http://127.0.0.1:{server.port}/s?q=|s|"
        env = dict(os.environ)
        for name, sub in (("HOME", ""), ("XDG_CONFIG_HOME", ".config"),
                          ("XDG_DATA_HOME", "data"), ("XDG_CACHE_HOME", "cache")):
            env[name] = os.path.join(self.folder, sub)
        conf = os.path.join(self.folder, ".config", "glenlantern")
        os.makedirs(conf)
        with open(os.path.join(conf, "GlenLantern.conf"), "w") as f:
            f.write(f"[Browser]\nLoadAhead={'true' if load_ahead else 'false'}\n")
        if pgpass:  # for a case on a server: its password, as libpq reads it
            with open(os.path.join(self.folder, ".pgpass"), "w") as f:
                f.write(pgpass)
            os.chmod(os.path.join(self.folder, ".pgpass"), 0o600)
        if kind == "ours":
            with open(os.path.join(self.folder, "Default.gls"), "w") as f:
                f.write("".join(f"S{i}={address.replace('/s?', f'/s{i}?')}\r\n"
                                for i in range(services)))
            with open(os.path.join(self.folder, "Default.glt"), "w") as f:
                f.write("\r\n".join(self.terms) + "\r\n")
            command, self.title = [os.path.join(build, "glenlantern")], "Glen Lantern"
            if isinstance(case, str):  # a server's address: "case NAME on HOST"
                self.case = case
                command += ["--case", case]
                name = case.split("case=")[1].split("&")[0]
                self.title = f"Glen Lantern - case {name} on {case.split('@')[1].split(':')[0]}"
            elif case:
                self.case = os.path.join(self.folder, "case")
                command += ["--case", self.case]
                self.title = "Glen Lantern - case case"
        else:
            command = [os.path.join(build, "bench", "bare_view"), address] + self.terms
            self.title = "Bare View"
        self.started = time.perf_counter()
        self.process = subprocess.Popen(command, cwd=self.folder, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.kind = kind
        self.window, x, y, w, h = window_geometry(self.title)
        self.shown = time.perf_counter()
        # A point of the pane clear of the page's text.
        self.point = (x + w - 120, y + h - 120)
        self.first_row = (x + 40, y + (185 if kind == "ours" else 34))

    def focus(self):
        subprocess.run(["xdotool", "windowactivate", "--sync", self.window],
                       capture_output=True)
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], capture_output=True)

    def close(self):
        self.process.kill()
        self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


def walk(build, kind, server, load_ahead, case=False, pace=None, pgpass=None, shown=None):
    """Key press to page shown for each step, and request to page shown; memory at the end.
    Steps one a second, or `pace` seconds after each page showed; `shown()` is called once the
    first page has."""
    display = Display()
    program = Program(build, kind, server, load_ahead, case=case, pgpass=pgpass)
    try:
        time.sleep(2.0)
        program.focus()
        display.click(*program.first_row)
        if wait_colour(display, program.point, colour(0), 60) is None:
            raise SystemExit(f"walk.py: {kind}: the first page never showed")
        time.sleep(1.0)
        if shown:
            shown()
        key_to_shown, request_to_shown = [], []
        for i in range(1, STEPS + 1):
            pressed = time.perf_counter()
            display.key(XK_DOWN)
            shown = wait_colour(display, program.point, colour(i))
            if shown is None:
                raise SystemExit(f"walk.py: {kind}: term{i} never showed")
            key_to_shown.append((shown - pressed) * 1000)
            if i in server.arrivals and server.arrivals[i] > pressed:
                request_to_shown.append((shown - server.arrivals[i]) * 1000)
            time.sleep(pace if pace is not None else max(0.0, 1.0 - (time.perf_counter() - pressed)))
        memory = tree_pss_mib(program.process.pid)
        return key_to_shown, request_to_shown, memory
    finally:
        program.close()
        server.arrivals.clear()


def first_click(build, server, kind="ours", after=2.0):
    """Click on the first term `after` seconds after the window shows, to its page shown; and
    to the request's arrival at the server. Medians, in ms."""
    display = Display()
    times, sent = [], []
    for _ in range(FIRST_RUNS):
        program = Program(build, kind, server)
        try:
            time.sleep(after)
            clicked = time.perf_counter()
            display.click(*program.first_row)
            shown = wait_colour(display, program.point, colour(0), 60)
            if shown is None:
                raise SystemExit(f"walk.py: {kind}: the first page never showed")
            times.append((shown - clicked) * 1000)
            sent.append((server.arrivals[0] - clicked) * 1000)
        finally:
            program.close()
            server.arrivals.clear()
    return statistics.median(times), statistics.median(sent)


def search_all(build, server, services=12):
    """Tools > Search All Services from the keyboard, to the last of the pages answered and the
    first tab's page drawn."""
    display = Display()
    times = []
    for _ in range(FIRST_RUNS):
        program = Program(build, "ours", server, terms=1, services=services)
        try:
            time.sleep(2.0)
            display.click(*program.first_row)
            if wait_colour(display, program.point, colour(0), 60) is None:
                raise SystemExit("walk.py: the first page never showed")
            time.sleep(1.0)
            server.answered.clear()
            pressed = time.perf_counter()
            subprocess.run(["xdotool", "key", "alt+o", "s"], check=True)
            deadline = time.perf_counter() + 60
            while len(server.answered) < services and time.perf_counter() < deadline:
                time.sleep(0.002)
            if len(server.answered) < services:
                raise SystemExit("walk.py: Search All did not ask for every page")
            times.append((max(server.answered) - pressed) * 1000)
        finally:
            program.close()
            server.arrivals.clear()
    return statistics.median(times)


def case_rows(program, sql):
    with sqlite3.connect(f"file:{program.case}/case.sqlite?mode=ro", uri=True) as db:
        return db.execute(sql).fetchall()


def captures(build, server, runs=5):
    """Capture Page (its key) on each of a few result pages, from the key press until the case
    has recorded the page's MHTML, PDF and PNG; the sizes of the last three files."""
    display = Display()
    program = Program(build, "ours", server, terms=runs, case=True)
    times = []
    try:
        time.sleep(2.0)
        program.focus()
        display.click(*program.first_row)
        for i in range(runs):
            if wait_colour(display, program.point, colour(i), 60) is None:
                raise SystemExit(f"walk.py: term{i} never showed")
            time.sleep(0.5)
            pressed = time.perf_counter()
            subprocess.run(["xdotool", "key", "ctrl+shift+s"], check=True)
            deadline = pressed + 60
            while (len(case_rows(program, "SELECT seq FROM entries WHERE kind = 'capture'"))
                   < 3 * (i + 1)) and time.perf_counter() < deadline:
                time.sleep(0.01)
            times.append((time.perf_counter() - pressed) * 1000)
            program.focus()
            display.key(XK_DOWN)
        sizes = case_rows(program, "SELECT capture_kind, size, failure FROM entries "
                                   "WHERE kind = 'capture' ORDER BY seq DESC LIMIT 3")
        return times, sizes
    finally:
        program.close()
        server.arrivals.clear()


def p95(values):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, round(0.95 * (len(ordered) - 1)))]


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    only = sys.argv[2] if len(sys.argv) > 2 else ""
    if only in ("", "walk"):
        walks(build)
    if only in ("", "first"):
        server = Server(DELAY_MS)
        try:
            print(f"first click after start-up to its page shown, server answers after "
                  f"{DELAY_MS} ms, median of {FIRST_RUNS}; load average {os.getloadavg()[0]:.1f}")
            for after in (2.0, 0.5):
                for label, kind in (("Glen Lantern", "ours"), ("bare QWebEngineView", "bare")):
                    shown, sent = first_click(build, server, kind, after)
                    print(f"  {label + f', {after:.1f} s after':34} {shown:5.0f} ms (the server's "
                          f"time + {shown - DELAY_MS:.0f} ms; the request came after {sent:.0f} "
                          f"ms)", flush=True)
        finally:
            server.close()
    if only in ("", "case"):
        cases(build)
    if only in ("", "all"):
        server = Server(DELAY_MS)
        try:
            print(f"Search All Services over 12 services ({DELAY_MS} ms server), key press to "
                  f"the last page answered: {search_all(build, server):.0f} ms "
                  f"(median of {FIRST_RUNS})")
        finally:
            server.close()


def cases(build):
    print(f"walk recorded in a case: {STEPS} steps with Down, one a second; server answers "
          f"after {DELAY_MS} ms")
    server = Server(DELAY_MS)
    try:
        for label, case in (("Glen Lantern, no case", False), ("Glen Lantern, recording", True)):
            keys, _, memory = walk(build, "ours", server, True, case)
            print(f"{label:34} key→shown median {statistics.median(keys):.0f} ms, p95 "
                  f"{p95(keys):.0f} ms, {memory:.0f} MiB", flush=True)
        times, sizes = captures(build, server)
        print(f"Capture Page (MHTML, PDF, PNG one after the other), key to the third file "
              f"recorded: median {statistics.median(times):.0f} ms, slowest {max(times):.0f} ms; "
              f"files {', '.join(f'{k} {s or 0} bytes' + (f' ({f})' if f else '') for k, s, f in sizes)}")
    finally:
        server.close()


def walks(build):
    print(f"walk: {STEPS} steps with Down, one a second; server answers after {DELAY_MS} ms")
    print(f"{'':34} {'key→shown':>18} {'request→shown':>14} {'memory':>8}")
    print(f"{'':34} {'median':>8} {'p95':>9} {'median':>14} {'PSS MiB':>8}")
    rows = [("bare QWebEngineView", "bare", True), ("Glen Lantern, loading ahead", "ours", True),
            ("Glen Lantern, no loading ahead", "ours", False)]
    for delay in sorted({DELAY_MS, 0}, reverse=True):
        server = Server(delay)
        try:
            for label, kind, ahead in rows:
                keys, requests, memory = walk(build, kind, server, ahead)
                served = f"{statistics.median(requests):14.0f}" if requests else f"{'-':>14}"
                print(f"{label + f', {delay} ms':34} {statistics.median(keys):8.0f} "
                      f"{p95(keys):9.0f} {served} {memory:8.0f}", flush=True)
        finally:
            server.close()


if __name__ == "__main__":
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -noreset",
                               sys.executable] + sys.argv)
    main()
