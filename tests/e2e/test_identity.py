# SPDX-License-Identifier: GPL-3.0-or-later
"""A case's identity as a user keeps it: a case opened with a SOCKS5 proxy runs in a program of its
own whose pages reach a site only the proxy knows (the proxy is asked for the name, never for an
address), later starts and a capture find that program on the session bus, and the headless
matrix of a case goes through the case's proxy too, failing rather than going out directly when
the proxy is away. A cookie set while one case is open is not sent in another and is still there
in its own after the program was ended and started again."""

import os
import socket
import sqlite3
import time

import e2e
from socks5 import Socks5Proxy

SITE = "site.glenlantern-test"


class CookieSite(e2e.RecordingServer):
    """The recording server, which also keeps each request's Host and Cookie headers and sets the
    cookie who=NAME for a day on /set-NAME."""

    def __init__(self):
        self.headers = {}
        super().__init__()
        handler = self.httpd.RequestHandlerClass
        served = handler.do_GET

        def do_get(request):
            self.headers.setdefault(request.path, (request.headers.get("Host"), request.headers.get("Cookie")))
            if request.path.startswith("/set-"):
                request.send_header = lambda name, value, send=request.send_header: (
                    send(name, value), name == "Content-Type" and send("Set-Cookie", f"who={request.path[5:]}; Max-Age=86400; Path=/"))
            served(request)
        handler.do_GET = do_get

    def request(self, path):
        """(Host, Cookie) of the first request of the path, or None."""
        return self.headers.get(path)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class IdentityTest(e2e.ProgramTestCase):
    def start_program(self, *args):
        self.process = e2e.subprocess.Popen([e2e.PROGRAM, *args], cwd=self.folder, env=self.environment(),
                                            stdout=e2e.subprocess.DEVNULL, stderr=e2e.subprocess.DEVNULL)

    def wait_request(self, site, path):
        return e2e.wait_for(lambda: site.request(path), timeout=90, what=f"the request of {path}")

    def exit_program(self, window):
        e2e.keys(window, "F10", "Up", "Return")  # File > Exit, the menu's last item
        self.assertEqual(self.wait_exit(timeout=60), 0)

    def test_pane_and_matrix_go_through_the_cases_socks5_proxy(self):
        site = CookieSite()
        self.addCleanup(site.close)
        proxy = Socks5Proxy({SITE: ("127.0.0.1", site.port)})
        self.addCleanup(proxy.close)
        proxy_text = f"socks5://127.0.0.1:{proxy.port}"
        services = self.write("Default.gls", f"Site=http://{SITE}:{site.port}/find/|s|\r\n".encode())
        terms = self.write("Default.glt", b"alpha\r\nbeta\r\n")
        self.start_bus()
        case = os.path.join(self.folder, "hidden")
        self.start_program("--case", case, "--proxy", proxy_text, "alpha")
        window = f"Glen Lantern - case hidden - through {proxy_text}"
        e2e.find_window(window, timeout=60)
        self.assertEqual(self.wait_request(site, "/find/alpha")[0], f"{SITE}:{site.port}")
        self.assertIn(SITE, proxy.names())
        self.assertEqual(proxy.addresses(), [])

        # Later starts find the case's program: one by the case, one without a case (the front).
        handed = self.run_program("--case", case, "beta")
        self.assertEqual((handed.returncode, handed.stderr), (0, ""))
        self.wait_request(site, "/find/beta")
        captured = self.run_program("--capture")
        self.assertEqual((captured.returncode, captured.stderr), (0, ""))

        def captures():
            with sqlite3.connect(f"file:{case}/case.sqlite?mode=ro", uri=True) as db:
                return db.execute("SELECT capture_kind FROM entries WHERE kind = 'capture' AND failure IS NULL").fetchall()
        e2e.wait_for(lambda: len(captures()) == 3, timeout=120, what="the capture in the case's program")
        self.assertEqual(proxy.addresses(), [])
        self.exit_program(window)

        # The matrix keeps the proxy it is given with its case, and uses it at the next run unasked.
        matrix_case = os.path.join(self.folder, "matrix")
        for extra in (["--proxy", proxy_text], []):
            before = len(proxy.names())
            result = self.run_program("--matrix", "--services", services, "--terms", terms,
                                      "--case", matrix_case, "--pause", "0", *extra, timeout=120)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertIn(f"alpha,Site,unknown,200,http://{SITE}:{site.port}/find/alpha", result.stdout)
            self.assertGreater(len(proxy.names()), before)
        self.assertEqual(proxy.addresses(), [])

        # A proxy that is away: the matrix fails, and nothing reaches a site it could reach directly.
        direct = self.write("direct.gls", f"Direct=http://127.0.0.1:{site.port}/direct/|s|\r\n".encode())
        result = self.run_program("--matrix", "--services", direct, "--terms", terms, "--case", matrix_case,
                                  "--proxy", f"socks5://127.0.0.1:{free_port()}", "--pause", "0", timeout=120)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("alpha,Direct,error,,", result.stdout)
        self.assertFalse([p for p in site.requests() if p.startswith("/direct/")])

    def test_a_cookie_stays_with_its_case(self):
        site = CookieSite()
        self.addCleanup(site.close)
        self.write("Default.gls", f"Site=http://127.0.0.1:{site.port}/|s|\r\n".encode())
        self.write("Default.glt", b"set-A\r\n")
        self.start_bus()
        case_a, case_b = (os.path.join(self.folder, name) for name in ("case A", "case B"))
        self.start_program("--case", case_a, "set-A")
        e2e.find_window("Glen Lantern - case case A", timeout=60)
        self.wait_request(site, "/set-A")
        time.sleep(1.0)

        handed = self.run_program("--case", case_b, "in-b")
        self.assertEqual((handed.returncode, handed.stderr), (0, ""))
        self.assertIsNone(self.wait_request(site, "/in-b")[1])
        handed = self.run_program("--case", case_a, "in-a")
        self.assertEqual((handed.returncode, handed.stderr), (0, ""))
        self.assertEqual(self.wait_request(site, "/in-a")[1], "who=A")
        handed = self.run_program("--case", case_b, "in-b-again")
        self.assertEqual((handed.returncode, handed.stderr), (0, ""))
        self.assertIsNone(self.wait_request(site, "/in-b-again")[1])
        self.exit_program("Glen Lantern - case case B")

        self.start_program("--case", case_a, "after-restart")
        self.assertEqual(self.wait_request(site, "/after-restart")[1], "who=A")
        # Case > Forget This Case's Browsing Data, confirmed: the cookie is gone.
        e2e.keys("Glen Lantern - case case A", "alt+a", "f")
        e2e.keys("GlenLantern", "Return")  # the question's OK
        e2e.wait_for(lambda: not e2e.window_visible("GlenLantern"), what="the question to close")
        self.run_program("--case", case_a, "after-forgetting")
        self.assertIsNone(self.wait_request(site, "/after-forgetting")[1])
        self.exit_program("Glen Lantern - case case A")
