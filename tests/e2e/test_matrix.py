# SPDX-License-Identifier: GPL-3.0-or-later
"""glenlantern --matrix with no display: every term with every service against a server of the
test's own on 127.0.0.1 (hits, misses, a service without rules, a 429 with Retry-After, a form
sent as a POST, a redirect) and a port where nothing listens; the CSV and the exit statuses."""

import csv
import http.server
import io
import socket
import threading
import time
import unittest

import e2e


class MatrixServer:
    """Answers as a site with user pages would, and counts the requests open at once."""

    def __init__(self):
        self.lock = threading.Lock()
        self.open_now = 0
        self.most_open = 0
        self.limited = {}  # path: times of its requests
        self.posts = []
        outer = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def answer(self, status, body=b"", headers=()):
                self.done()  # the client may move on (a redirect) once the answer starts
                self.send_response(status)
                for name, value in headers:
                    self.send_header(name, value)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                # One request a connection: a client's resend on a kept-alive connection the
                # server closed would count as a request of its own.
                self.send_header("Connection", "close")
                self.close_connection = True
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def handle_one_request(self):
                # From the request line until its answer starts: a kept-alive connection waiting
                # for its next request, or an answer still being written, is not a request at once.
                self.raw_requestline = self.rfile.readline(65537)
                if not self.raw_requestline:
                    self.close_connection = True
                    return
                with outer.lock:
                    outer.open_now += 1
                    outer.most_open = max(outer.most_open, outer.open_now)
                self.counted = True
                try:
                    if self.parse_request():
                        getattr(self, "do_" + self.command)()
                        self.wfile.flush()
                finally:
                    self.done()

            def done(self):
                if self.counted:
                    self.counted = False
                    with outer.lock:
                        outer.open_now -= 1

            def do_GET(self):  # noqa: N802
                time.sleep(0.05)
                if self.path == "/u/ada":
                    self.answer(200, b"<title>ada</title><script>'No such user'</script><h1>ada</h1>")
                elif self.path.startswith("/u/"):
                    self.answer(404, b"<p>No such <b>user</b></p>")
                elif self.path.startswith("/go/"):
                    self.answer(302, headers=[("Location", "/plain/" + self.path[4:])])
                elif self.path.startswith("/plain/"):
                    self.answer(200, b"<p>whatever</p>")
                elif self.path.startswith("/limited/"):
                    with outer.lock:
                        times = outer.limited.setdefault(self.path, [])
                        times.append(time.monotonic())
                        first = len(times) == 1
                    if first:
                        self.answer(429, b"slow down", [("Retry-After", "1")])
                    else:
                        self.answer(200, b"<p>Profile</p>")
                else:
                    self.answer(404)

            def do_POST(self):  # noqa: N802
                body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
                with outer.lock:
                    outer.posts.append((self.path, self.headers.get("Content-Type"), body))
                self.answer(200, b"<p>1 result</p>" if body.startswith(b"q=ada&") else b"<p>0 results</p>")

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def dead_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class MatrixTest(e2e.ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.server = MatrixServer()
        self.addCleanup(self.server.close)
        site = f"http://127.0.0.1:{self.server.port}"
        self.write("sites.gls", "\r\n".join([
            f"Forum={site}/u/|s|\tgroup=people\tfound=status:200&!text:No such user"
            "\tmissing=status:404|text:No such user",
            f"Plain={site}/go/|s|",
            f"Limited={site}/limited/|s|\tfound=status:200\tgroup=People,slow",
            f"Search={site}/search\tpost=q=|s|&lang=en\tfound=text:1 result\tmissing=text:0 results",
            f"Dead=http://127.0.0.1:{dead_port()}/u/|s|\tfound=status:200",
            ""]).encode())
        self.write("terms.glt", b"ada\r\nbob smith\r\n")

    def matrix(self, *args):
        # No display: the job needs none.
        env = {k: v for k, v in self.environment().items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY")}
        return self.run_program("--matrix", *args, env=env, timeout=120)

    def test_matrix(self):
        site = f"http://127.0.0.1:{self.server.port}"
        result = self.matrix("--services", "sites.gls", "--terms", "terms.glt", "--pause", "0.2",
                             "--out", "out.csv")
        self.assertEqual((result.returncode, result.stdout), (0, ""), result.stderr)
        rows = list(csv.reader(io.StringIO(self.read("out.csv").decode("utf-8"), newline="")))
        dead = rows[5][4]
        self.assertEqual(rows, [
            ["term", "service", "result", "status", "address"],
            ["ada", "Forum", "found", "200", f"{site}/u/ada"],
            ["ada", "Plain", "unknown", "200", f"{site}/plain/ada"],
            ["ada", "Limited", "found", "200", f"{site}/limited/ada"],
            ["ada", "Search", "found", "200", f"{site}/search"],
            ["ada", "Dead", "error", "", dead],
            ["bob smith", "Forum", "not found", "404", f"{site}/u/bob%20smith"],
            ["bob smith", "Plain", "unknown", "200", f"{site}/plain/bob%20smith"],
            ["bob smith", "Limited", "found", "200", f"{site}/limited/bob%20smith"],
            ["bob smith", "Search", "not found", "200", f"{site}/search"],
            ["bob smith", "Dead", "error", "", dead.replace("ada", "bob%20smith")],
        ])
        self.assertTrue(self.read("out.csv").endswith(b"\r\n"))
        self.assertEqual(result.stderr.count("with Dead: Connection refused"), 2, result.stderr)
        # The 429 was asked again only after the second its Retry-After asked for.
        for times in self.server.limited.values():
            self.assertEqual(len(times), 2)
            self.assertGreaterEqual(times[1] - times[0], 0.95)
        self.assertEqual(sorted(self.server.posts), [
            ("/search", "application/x-www-form-urlencoded", b"q=ada&lang=en"),
            ("/search", "application/x-www-form-urlencoded", b"q=bob+smith&lang=en")])
        self.assertLessEqual(self.server.most_open, 2)

    def test_group_and_statuses(self):
        result = self.matrix("--services", "sites.gls", "--terms", "terms.glt", "--group", "PEOPLE",
                             "--pause", "0")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual([row[:3] for row in csv.reader(io.StringIO(result.stdout))][1:],
                         [["ada", "Forum", "found"], ["ada", "Limited", "found"],
                          ["bob smith", "Forum", "not found"], ["bob smith", "Limited", "found"]])
        # Every page failing: 1. Input that cannot be used: 2, with one line saying why.
        self.write("dead.gls", f"Dead=http://127.0.0.1:{dead_port()}/|s|\r\n".encode())
        result = self.matrix("--services", "dead.gls", "--terms", "terms.glt")
        self.assertEqual(result.returncode, 1)
        self.assertIn("glenlantern: No page could be loaded\n", result.stderr)
        self.write("bad.gls", b"Bad=http://127.0.0.1/|s|\tfound=status:2000\r\n")
        for args, message in [
                (["--services", "bad.gls", "--terms", "terms.glt"],
                 'The found rule of the service "Bad" holds "status:2000": "2000" is no HTTP '
                 'status (100 to 599)'),
                (["--services", "sites.gls", "--terms", "terms.glt", "--group", "none"],
                 'No service of the list is in the group "none"'),
                (["--services", "sites.gls", "--terms", "gone.glt"], "Cannot open file")]:
            with self.subTest(args=args):
                result = self.matrix(*args)
                self.assertEqual((result.returncode, result.stdout), (2, ""))
                self.assertTrue(result.stderr.startswith("glenlantern: " + message), result.stderr)


if __name__ == "__main__":
    unittest.main()
