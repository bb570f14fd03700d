# SPDX-License-Identifier: GPL-3.0-or-later
"""A case as a user keeps it: the program started with --case, a walk of three terms through the
real pane against a local server, the page on view captured by a later start (--capture handed
over on the session bus), then the jobs without a window: verify, four exports, the WARC read
back, and a byte changed in a capture found. Then kill -9 while captures and records are being
written: at most those are lost, never the case."""

import hashlib
import os
import signal
import sqlite3
import time

import e2e
from warc_reader import read_warc_gz


def page(path):
    term = path.rsplit("/", 1)[-1]
    return f"<html><head><title>Found {term}</title></head><body><h1>{term}</h1></body></html>".encode()


class CaseWindowTest(e2e.ProgramTestCase):
    def rows(self, sql):
        with sqlite3.connect(f"file:{self.case}/case.sqlite?mode=ro", uri=True) as db:
            return db.execute(sql).fetchall()

    def test_walk_capture_verify_export(self):
        server = e2e.RecordingServer(page)
        self.addCleanup(server.close)
        self.write("Default.gls", f"Local=http://127.0.0.1:{server.port}/find/|s|\r\n".encode())
        self.write("Default.glt", b"alpha\r\nbeta\r\ngamma\r\n")
        self.start_bus()
        self.case = os.path.join(self.folder, "my case")
        self.process = e2e.subprocess.Popen([e2e.PROGRAM, "--case", self.case], cwd=self.folder,
                                            env=self.environment(), stdout=e2e.subprocess.DEVNULL,
                                            stderr=e2e.subprocess.DEVNULL)
        window = "Glen Lantern - case my case"
        e2e.find_window(window)
        time.sleep(1.0)
        e2e.keys(window, "Tab", "Down")
        for term in ("alpha", "beta", "gamma"):
            e2e.wait_for(lambda: f"/find/{term}" in server.requests(), timeout=60, what=term)
            e2e.wait_for(lambda: self.rows(f"SELECT title FROM entries WHERE term = '{term}'"),
                         timeout=60, what=f"the record of {term}")
            if term != "gamma":
                e2e.keys(window, "Down")

        handed = self.run_program("--capture", "--note", "kept for court")
        self.assertEqual((handed.returncode, handed.stderr), (0, ""))
        e2e.wait_for(lambda: len(self.rows("SELECT seq FROM entries WHERE kind = 'capture'")) == 3,
                     timeout=120, what="three captures")
        searches = self.rows("SELECT seq, term, address, final_address, title, outcome, started_by "
                             "FROM entries WHERE kind = 'search' ORDER BY seq")
        base = f"http://127.0.0.1:{server.port}/find/"
        self.assertEqual([s[1:] for s in searches],
                         [(t, base + t, base + t, f"Found {t}", "loaded", "step") for t in ("alpha", "beta", "gamma")])
        gamma = searches[2][0]
        captures = self.rows("SELECT search_seq, capture_kind, failure, file, size FROM entries "
                             "WHERE kind = 'capture' ORDER BY seq")
        self.assertEqual([c[:3] for c in captures], [(gamma, k, None) for k in ("mhtml", "pdf", "png")])
        for _, kind, _, name, size in captures:
            with open(os.path.join(self.case, "captures", name), "rb") as f:
                head = f.read()
            self.assertEqual(len(head), size)
            self.assertTrue(head.startswith({"mhtml": b"From:", "pdf": b"%PDF", "png": b"\x89PNG"}[kind]), kind)
        self.assertEqual(self.rows("SELECT search_seq, note FROM entries WHERE kind = 'note'"), [(gamma, "kept for court")])
        self.process.kill()  # what was recorded is on disk: nothing waits for a clean end
        self.process.wait(timeout=30)

        verified = self.run_program("--verify-case", self.case)
        self.assertEqual((verified.returncode, verified.stderr), (0, ""), verified.stdout)
        for fmt in ("csv", "jsonl", "html", "warc"):
            out = os.path.join(self.folder, f"case.{fmt}")
            result = self.run_program("--export-case", self.case, "--format", fmt, "--out", out)
            self.assertEqual((result.returncode, result.stderr), (0, ""), fmt)
            self.assertGreater(os.path.getsize(out), 0)
        records = read_warc_gz(os.path.join(self.folder, "case.warc"))
        resources = {h["WARC-Target-URI"]: h for h, _ in records if h["WARC-Type"] == "resource"}
        shown = base + "gamma"
        self.assertEqual([resources[s + shown]["Content-Type"] for s in ("urn:mhtml:", "urn:pdf:", "urn:view:")],
                         ["multipart/related", "application/pdf", "image/png"])
        self.assertTrue(resources[shown]["Content-Type"].startswith("text/html"))  # the page itself, from the MHTML

        with open(os.path.join(self.case, "captures", captures[0][3]), "r+b") as f:
            f.seek(10)
            byte = f.read(1)
            f.seek(10)
            f.write(bytes([byte[0] ^ 1]))
        changed = self.run_program("--verify-case", self.case)
        self.assertEqual(changed.returncode, 1)
        self.assertIn(captures[0][3], changed.stderr)

    def start_case(self):
        self.process = e2e.subprocess.Popen([e2e.PROGRAM, "--case", self.case], cwd=self.folder,
                                            env=self.environment(), stdout=e2e.subprocess.DEVNULL,
                                            stderr=e2e.subprocess.DEVNULL)
        e2e.find_window("Glen Lantern - case killed")
        time.sleep(1.0)
        return "Glen Lantern - case killed"

    def partials(self):
        folder = os.path.join(self.case, "captures")
        return [n for n in os.listdir(folder) if n.startswith(".")] if os.path.isdir(folder) else []

    def test_kill_while_capturing_loses_at_most_that_one(self):
        # Long pages, so that the engine writes each PDF for a while.
        server = e2e.RecordingServer(lambda path: page(path).replace(b"</h1>", b"</h1>" + b"<p>words " * 3000))
        self.addCleanup(server.close)
        self.write("Default.gls", f"Local=http://127.0.0.1:{server.port}/find/|s|\r\n".encode())
        self.write("Default.glt", "".join(f"term{i}\r\n" for i in range(8)).encode())
        self.case = os.path.join(self.folder, "killed")
        window = self.start_case()
        e2e.keys(window, "Tab", "Down")
        e2e.wait_for(lambda: self.rows("SELECT seq FROM entries WHERE kind = 'search'"), timeout=60, what="a record")
        e2e.keys(window, *["ctrl+shift+s", "Down"] * 3, "ctrl+shift+s")  # captures queue while searches record
        e2e.wait_for(lambda: self.partials() and self.rows("SELECT seq FROM entries WHERE kind = 'capture'"),
                     timeout=60, interval=0.01, what="a capture being written after one recorded")
        os.kill(self.process.pid, signal.SIGKILL)
        self.process.wait(timeout=30)
        # The unfinished one stays behind as scratch, never recorded (the kill may also come just
        # after it was made whole: then there is none).
        recorded = {r[0] for r in self.rows("SELECT file FROM entries WHERE kind = 'capture'")}
        self.assertFalse(set(self.partials()) & recorded)

        for name, size, sha256, failure in self.rows("SELECT file, size, sha256, failure FROM entries WHERE kind = 'capture'"):
            if failure is None:
                with open(os.path.join(self.case, "captures", name), "rb") as f:
                    body = f.read()
                self.assertEqual((len(body), hashlib.sha256(body).hexdigest()), (size, sha256), name)
        verified = self.run_program("--verify-case", self.case)
        self.assertEqual((verified.returncode, verified.stderr), (0, ""), verified.stdout)

        head = self.rows("SELECT max(seq) FROM entries")[0][0]
        window = self.start_case()  # no lock left behind: the case opens and records again
        e2e.keys(window, "Tab", "Down")
        e2e.wait_for(lambda: self.rows(f"SELECT seq FROM entries WHERE kind = 'search' AND seq > {head}"),
                     timeout=60, what="a record after the kill")
        self.process.kill()
        self.process.wait(timeout=30)
        verified = self.run_program("--verify-case", self.case)
        self.assertEqual((verified.returncode, verified.stderr), (0, ""), verified.stdout)
