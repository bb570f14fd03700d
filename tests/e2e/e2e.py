# SPDX-License-Identifier: GPL-3.0-or-later
"""Helpers for the end-to-end tests: the built program under Xvfb, driven with xdotool, and a
local HTTP server on 127.0.0.1 that records what the browser pane asked for."""

import ast
import http.server
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time
import unittest
import urllib.parse

PROGRAM = os.environ.get("GL_PROGRAM", "")

# The programs speak English, the language the tests compare their texts in, whatever the
# developer's locale; a test that wants another language sets LANGUAGE in its environment.
os.environ["LANGUAGE"] = "en"
os.environ["LC_ALL"] = "C.UTF-8"
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
    """Serves a small page for every GET and POST and records the request paths (of a POST also
    its content type and body, in `forms`). `page` gives the body for a path when the test wants
    pages of its own."""

    def __init__(self, page=None):
        self.paths = []
        self.forms = []
        self._lock = threading.Lock()
        outer = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):  # noqa: N802
                body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
                with outer._lock:
                    outer.forms.append((self.path, self.headers.get("Content-Type"), body))
                self.do_GET()

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

    def raw_requests(self):
        """The request paths byte for byte as they arrived, nothing decoded."""
        with self._lock:
            return list(self.paths)

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class PrivateSessionBus:
    """A D-Bus session bus of the test's own (dbus-daemon --session), so that the programs the
    test starts meet each other there and never the user's. With a services folder, the bus
    starts the programs whose .service files are in it (D-Bus activation)."""

    def __init__(self, folder, env, services_dir=None):
        os.makedirs(folder, exist_ok=True)
        config = os.path.join(folder, "session.conf")
        servicedir = f"<servicedir>{services_dir}</servicedir>" if services_dir else ""
        with open(config, "w") as f:
            f.write(f"""<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={folder}</listen>
  {servicedir}
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
""")
        # Programs the bus starts get its environment: the test's home, display and folders.
        self.process = subprocess.Popen(
            ["dbus-daemon", f"--config-file={config}", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env, text=True)
        self.address = self.process.stdout.readline().strip()
        if not self.address:
            raise AssertionError("dbus-daemon gave no address")

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=30)
        self.process.stdout.close()


def gdbus_call(env, destination, path, method, *args, timeout=60):
    """gdbus call on the session bus of the environment; the reply as Python values."""
    result = subprocess.run(
        ["gdbus", "call", "--session", "--dest", destination, "--object-path", path,
         "--method", method, *args], capture_output=True, text=True, env=env, timeout=timeout)
    if result.returncode != 0:
        raise AssertionError(f"gdbus call {method} failed: {result.stderr}")
    return parse_gvariant(result.stdout)


def parse_gvariant(text):
    """GVariant text as gdbus prints it, for the values the tests send (no "<", ">" or "@" in
    strings): variants unwrapped, type annotations dropped."""
    plain = re.sub(r"@[a-z{}()]+ ", "", text.replace("<", "").replace(">", ""))
    plain = re.sub(r"\b(uint32|int32|uint64|int64|byte) ", "", plain)
    plain = re.sub(r"\btrue\b", "True", re.sub(r"\bfalse\b", "False", plain))
    return ast.literal_eval(plain.strip())


def install_to_temporary_prefix():
    """cmake --install of the build (GL_BUILD_DIR) under a new temporary prefix."""
    build_dir = os.environ.get("GL_BUILD_DIR", "")
    if not build_dir or not os.path.isdir(build_dir):
        raise AssertionError(f"GL_BUILD_DIR does not name the build folder: {build_dir!r}")
    prefix = tempfile.mkdtemp(prefix="gl-prefix-")
    result = subprocess.run([os.environ.get("GL_CMAKE", "cmake"), "--install", build_dir,
                             "--prefix", prefix], capture_output=True, text=True, timeout=300)
    if result.returncode != 0:
        shutil.rmtree(prefix, ignore_errors=True)
        raise AssertionError(f"cmake --install failed:\n{result.stdout}\n{result.stderr}")
    return prefix


def request_path(address):
    """The path and query the server records for a request of the address."""
    split = urllib.parse.urlsplit(address)
    return urllib.parse.unquote(split.path + (f"?{split.query}" if split.query else ""))


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


# Windows are named by their titles and looked up at each use.

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
        # No session bus unless the test starts one: programs of different tests, or of the
        # user's desktop, must not meet.
        self.bus_address = "disabled:"

    def start_bus(self, services_dir=None):
        bus = PrivateSessionBus(os.path.join(self.folder, "bus"), self.environment(), services_dir)
        self.addCleanup(bus.close)
        self.bus_address = bus.address
        return bus

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
        env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address
        return env

    def run_program(self, *args, cwd=None, env=None, timeout=60):
        """The program run to its end: a job without a window, or a start that hands its command
        line to the running program."""
        return subprocess.run([PROGRAM, *args], cwd=cwd or self.folder,
                              env=env or self.environment(), capture_output=True, text=True,
                              timeout=timeout)

    def start(self, program=None, cwd=None, env=None):
        self.process = subprocess.Popen(
            [program or PROGRAM], cwd=cwd or self.folder, env=env or self.environment(),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        find_window(MAIN_TITLE)
        time.sleep(1.0)
        return MAIN_TITLE

    def wait_exit(self, timeout=30):
        return self.process.wait(timeout=timeout)
