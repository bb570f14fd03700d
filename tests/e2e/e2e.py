"""Helpers for the end-to-end tests: the built program under Xvfb, driven with xdotool, and a
local HTTP server on 127.0.0.1 that records what the browser pane asked for."""

import http.server
import os
import shutil
import subprocess
import tempfile
import threading
import time
import unittest
import urllib.parse

PROGRAM = os.environ.get("GL_PROGRAM", "")
MAIN_TITLE = "Glen Lantern"


def wait_for(predicate, timeout=30.0, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    raise AssertionError(f"timed out after {timeout}s waiting for {what() if callable(what) else what}")


class RecordingServer:
    """Serves a small page for every GET and records the request paths. `page` gives the body
    for a path when the test wants pages of its own."""

    def __init__(self, page=None):
        self.paths = []
        self._lock = threading.Lock()
        outer = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):  # noqa: N802 (the standard library's name)
                with outer._lock:
                    outer.paths.append(self.path)
                body = page(self.path) if page else \
                    b"<html><head><title>Result</title></head><body><h1>Result</h1><p>" + \
                    self.path.encode() + b"</p></body></html>"
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def requests(self):
        with self._lock:
            return [urllib.parse.unquote(p) for p in self.paths]

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def xdotool(*args, check=True):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30)
    if check and result.returncode != 0:
        raise AssertionError(f"xdotool {' '.join(args)} failed: {result.stderr}")
    return result.stdout.strip()


def find_window(title, timeout=30.0):
    """The id of the visible window with exactly this title."""
    def search():
        out = xdotool("search", "--onlyvisible", "--name", f"^{title}$", check=False)
        return out.splitlines()[0] if out else None
    return wait_for(search, timeout, what=f"window '{title}'")


def window_visible(title):
    return bool(xdotool("search", "--onlyvisible", "--name", f"^{title}$", check=False))


# Windows are named by their titles and looked up at each use: a window gets a new id when the
# browser engine first appears in it.

def geometry(title):
    out = xdotool("getwindowgeometry", "--shell", find_window(title))
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def click(title, x, y, button=1, repeat=1):
    xdotool("mousemove", "--window", find_window(title), str(x), str(y))
    xdotool("click", "--repeat", str(repeat), str(button))


def focus(title):
    """Gives the window the keyboard focus; keys then go as real key presses (XTEST)."""
    window = find_window(title)
    xdotool("windowactivate", "--sync", window, check=False)
    xdotool("windowfocus", "--sync", window)


def keys(title, *sequence):
    focus(title)
    for key in sequence:
        xdotool("key", "--clearmodifiers", key)
        time.sleep(0.15)


def type_text(title, text):
    focus(title)
    xdotool("type", "--delay", "30", text)


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=False, timeout=30)


def pixel(x, y):
    """The colour on the screen at x, y as (r, g, b)."""
    out = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8",
                          "txt:-"], capture_output=True, text=True, timeout=30).stdout
    colour = out.splitlines()[-1].split("#", 1)[1][:6]
    return tuple(int(colour[i:i + 2], 16) for i in (0, 2, 4))


class ProgramTestCase(unittest.TestCase):
    """Starts the program in a temporary folder of its own, with a home of its own."""

    def setUp(self):
        if not PROGRAM or not os.path.exists(PROGRAM):
            self.fail(f"GL_PROGRAM does not name the built program: {PROGRAM!r}")
        self.folder = tempfile.mkdtemp(prefix="gl-e2e-")
        self.home = os.path.join(self.folder, "home")
        os.makedirs(self.home)
        self.process = None

    def tearDown(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=30)
        shutil.rmtree(self.folder, ignore_errors=True)

    def write(self, name, data: bytes):
        path = os.path.join(self.folder, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def read(self, name) -> bytes:
        with open(os.path.join(self.folder, name), "rb") as f:
            return f.read()

    def environment(self):
        env = dict(os.environ)
        env["HOME"] = self.home
        env["XDG_CONFIG_HOME"] = os.path.join(self.home, ".config")
        env["XDG_DATA_HOME"] = os.path.join(self.home, ".local", "share")
        env["XDG_CACHE_HOME"] = os.path.join(self.home, ".cache")
        env.pop("QT_QPA_PLATFORM", None)
        return env

    def start(self, program=None, cwd=None, env=None):
        self.process = subprocess.Popen(
            [program or PROGRAM], cwd=cwd or self.folder, env=env or self.environment(),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        find_window(MAIN_TITLE)
        time.sleep(1.0)
        return MAIN_TITLE

    def wait_exit(self, timeout=30):
        return self.process.wait(timeout=timeout)
