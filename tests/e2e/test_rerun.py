# SPDX-License-Identifier: GPL-3.0-or-later
"""glenlantern --rerun-case with no display: a case recorded by --matrix --case against a server of
the test's own, then the server's answers change (a user appears, one site starts answering 429,
a profile's text changes, a page without rules changes): the run lists exactly those pairs, in the
order they first came in the case, with their verdicts before and after; blocked is never found,
the case still verifies, and a second run finds nothing new."""

import csv
import http.server
import io
import os
import socket
import sqlite3
import threading
import unittest

import e2e


class ChangingServer:
    """User pages, a site that may start refusing, and a page without rules, as `self.changed`
    says: False before, True after."""

    def __init__(self):
        self.changed = False
        outer = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def answer(self, status, body, headers=()):
                self.send_response(status)
                for name, value in headers:
                    self.send_header(name, value)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Connection", "close")
                self.close_connection = True
                self.end_headers()
                self.wfile.write(body)

            def do_GET(self):  # noqa: N802
                name = self.path.rsplit("/", 1)[-1]
                if self.path.startswith("/u/"):
                    users = {"ada": b"<title>ada</title><p>Ada, 3 posts</p>"}
                    if outer.changed:
                        users = {"ada": b"<title>ada</title><p>Ada, 4 posts</p>",
                                 "bob": b"<title>bob</title><p>Bob, 1 post</p>"}
                    if name in users:
                        self.answer(200, users[name])
                    else:
                        self.answer(404, b"<p>No such user</p>")
                elif self.path.startswith("/l/"):
                    if outer.changed:
                        self.answer(429, b"<p>Slow down</p>", [("Retry-After", "0")])
                    else:
                        self.answer(200, f"<p>{name} is here</p>".encode())
                elif self.path.startswith("/p/"):
                    news = "a new story" if outer.changed and name == "ada" else "nothing new"
                    self.answer(200, f"<p>{name}: {news}</p>".encode())
                else:
                    self.answer(404, b"")

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        if self.httpd:
            self.httpd.shutdown()
            self.httpd.server_close()
            self.httpd = None


def dead_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class RerunTest(e2e.ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.server = ChangingServer()
        self.addCleanup(self.server.close)
        site = f"http://127.0.0.1:{self.server.port}"
        self.site = site
        self.write("sites.gls", "\r\n".join([
            f"Forum={site}/u/|s|\tgroup=people\tfound=status:200&!text:No such user\tmissing=status:404",
            f"Limited={site}/l/|s|\tgroup=people\tfound=status:200",
            f"Plain={site}/p/|s|",
            f"Dead=http://127.0.0.1:{dead_port()}/u/|s|\tfound=status:200",
            ""]).encode())
        self.write("terms.glt", b"ada\r\nbob\r\ncat\r\n")
        self.case = os.path.join(self.folder, "case")

    def job(self, *args):
        env = {k: v for k, v in self.environment().items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY")}
        return self.run_program(*args, env=env, timeout=120)

    def rows(self, sql):
        with sqlite3.connect(f"file:{self.case}/case.sqlite?mode=ro", uri=True) as db:
            return db.execute(sql).fetchall()

    def test_changes(self):
        recorded = self.job("--matrix", "--services", "sites.gls", "--terms", "terms.glt",
                            "--case", self.case, "--pause", "0")
        self.assertEqual(recorded.returncode, 0, recorded.stderr)
        self.server.changed = True

        result = self.job("--rerun-case", self.case, "--pause", "0", "--out", "changes.csv")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout, "12 searched again, 6 changed: new hits 1, hits gone 0, "
                                        "blocked 3, errors 0, pages changed 2\n")
        self.assertEqual(result.stderr.count("with Dead: Connection refused"), 3, result.stderr)
        table = list(csv.reader(io.StringIO(self.read("changes.csv").decode("utf-8"), newline="")))
        self.assertEqual(table[0], ["term", "service", "before", "after", "page", "address"])
        site = self.site
        expected = {
            ("bob", "Forum"): ["not found", "found", "changed", f"{site}/u/bob"],
            ("ada", "Forum"): ["found", "found", "changed", f"{site}/u/ada"],
            ("ada", "Plain"): ["unknown", "unknown", "changed", f"{site}/p/ada"],
        }
        for term in ("ada", "bob", "cat"):
            expected[(term, "Limited")] = ["found", "blocked", "changed", f"{site}/l/{term}"]
        # In the order the pairs first came in the case (as the matrix recorded them).
        order = [(t, s) for t, s in self.rows(
            "SELECT term, service FROM entries WHERE kind = 'search' GROUP BY term, service ORDER BY min(seq)")
            if (t, s) in expected]
        self.assertEqual(table[1:], [[t, s, *expected[(t, s)]] for t, s in order])

        # Each pair recorded again, judged; the site that refuses is never found.
        reruns = self.rows("SELECT term, service, verdict, status, text_sha256 FROM entries "
                           "WHERE started_by = 'rerun' ORDER BY seq")
        self.assertEqual(len(reruns), 12)
        self.assertEqual({r[2] for r in reruns if r[1] == "Limited"}, {"blocked"})
        self.assertEqual({r[3] for r in reruns if r[1] == "Limited"}, {429})
        self.assertTrue(all(r[4] for r in reruns if r[1] != "Dead"))
        verified = self.job("--verify-case", self.case)
        self.assertEqual(verified.returncode, 0, verified.stderr)
        # The report's methods count the hits of the judged searches; each search shows its result.
        exported = self.job("--export-case", self.case, "--format", "html", "--out", "report.html")
        self.assertEqual(exported.returncode, 0, exported.stderr)
        report = self.read("report.html").decode("utf-8")
        for service, hits in (("Forum", "3 of 6"), ("Limited", "3 of 6"), ("Plain", "0 of 6"), ("Dead", "0 of 6")):
            self.assertRegex(report, f"<tr><td>{service}</td>.*<td>{hits} judged</td><td>matrix 3, rerun 3</td></tr>")
        self.assertEqual(report.count("<td>loaded</td><td>blocked</td><td>rerun</td>"), 3)

        # Nothing changed since: nothing listed, the group alone when asked.
        again = self.job("--rerun-case", self.case, "--pause", "0", "--group", "People")
        self.assertEqual((again.returncode, again.stdout),
                         (0, "6 searched again, 0 changed: new hits 0, hits gone 0, blocked 0, "
                             "errors 0, pages changed 0\n"), again.stderr)
        # Without --out, each change on a line of its own.
        self.server.changed = False
        lines = self.job("--rerun-case", self.case, "--pause", "0", "--group", "people").stdout.splitlines()
        self.assertIn('"bob" with Forum: found -> not found, the page changed', lines)
        self.assertEqual(lines[-1], "6 searched again, 5 changed: new hits 3, hits gone 1, blocked 0, "
                                    "errors 0, pages changed 1")

    def test_statuses(self):
        self.write("plain.glt", b"ada\r\n")
        missing = os.path.join(self.folder, "missing")
        result = self.job("--rerun-case", missing)
        self.assertEqual(result.returncode, 2)
        self.assertFalse(os.path.exists(missing), "a case was made where none was")
        recorded = self.job("--matrix", "--services", "sites.gls", "--terms", "plain.glt",
                            "--case", self.case, "--pause", "0")
        self.assertEqual(recorded.returncode, 0, recorded.stderr)
        result = self.job("--rerun-case", self.case, "--group", "nobody")
        self.assertEqual((result.returncode, result.stdout), (2, ""))
        self.assertEqual(result.stderr, 'glenlantern: No search of the case is made with a service '
                                        'of the group "nobody"\n')
        result = self.job("--rerun-case", self.case, "--out", os.path.join(self.folder, "no", "c.csv"))
        self.assertEqual(result.returncode, 2)
        # Every page failing is a failed run.
        self.server.close()
        result = self.job("--rerun-case", self.case, "--pause", "0")
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("glenlantern: No page could be loaded\n", result.stderr)


if __name__ == "__main__":
    unittest.main()
