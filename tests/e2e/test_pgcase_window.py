# SPDX-License-Identifier: GPL-3.0-or-later
"""A server case recorded from the window: the program started with --case postgresql://... walks
three terms through the real pane against a local web server while a headless --matrix writer
records into the same case; afterwards the case holds every search once and verifies. The
password comes from ~/.pgpass."""

import json
import subprocess
import time
import unittest

import e2e
import pgserver

TERMS = 10
SERVICES = 2


def page(path):
    if "/find/" not in path:
        time.sleep(0.4)  # the matrix's pages take a while, so that both programs write at once
        return b"<title>r</title>"
    term = path.rsplit("/", 1)[-1]
    return f"<html><head><title>Found {term}</title></head><body>{term}</body></html>".encode()


@unittest.skipUnless(pgserver.available(), "PostgreSQL 15 is not installed "
                     "(Debian's postgresql-15; `make test` installs it)")
class PgCaseWindowTest(e2e.ProgramTestCase):
    def entries(self, address):
        result = self.run_program("--export-case", address, "--format", "jsonl", "--out", "all.jsonl")
        self.assertEqual(result.returncode, 0, result.stderr)
        return [json.loads(line) for line in self.read("all.jsonl").decode().splitlines()]

    def test_window_and_matrix_record_one_case(self):
        pg = pgserver.PgServer()
        self.addCleanup(pg.close)
        pg.write_pgpass(self.home)
        web = e2e.RecordingServer(page)
        self.addCleanup(web.close)
        self.write("Default.gls", f"Local=http://127.0.0.1:{web.port}/find/|s|\r\n".encode())
        self.write("Default.glt", b"alpha\r\nbeta\r\ngamma\r\n")
        self.write("sites.gls", "".join(f"S{i}=http://127.0.0.1:{web.port}/s{i}?q=|s|\r\n"
                                        for i in range(SERVICES)).encode())
        self.write("bob.glt", "".join(f"bob {n}\r\n" for n in range(TERMS)).encode())
        self.start_bus()
        address = pg.address("team")
        window = subprocess.Popen([e2e.PROGRAM, "--case", address], cwd=self.folder, env=self.environment(),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(window.kill)
        title = "Glen Lantern - case team on 127.0.0.1"
        e2e.find_window(title)
        matrix = subprocess.Popen([e2e.PROGRAM, "--matrix", "--services", "sites.gls", "--terms", "bob.glt",
                                   "--pause", "0", "--out", "bob.csv", "--case", address], cwd=self.folder,
                                  env=self.environment(), stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.addCleanup(matrix.kill)
        time.sleep(1.0)
        e2e.keys(title, "Tab", "Down")
        for term in ("alpha", "beta", "gamma"):
            e2e.wait_for(lambda: any(e["term"] == term for e in self.entries(address)), timeout=60,
                         what=f"the record of {term}")
            if term != "gamma":
                e2e.keys(title, "Down")
        _, err = matrix.communicate(timeout=120)
        self.assertEqual(matrix.returncode, 0, err)
        window.kill()
        window.wait(timeout=30)

        total = 3 + TERMS * SERVICES
        verified = self.run_program("--verify-case", address)
        self.assertEqual(verified.returncode, 0, verified.stderr)
        self.assertIn(f"{total} records", verified.stdout)
        entries = self.entries(address)
        self.assertEqual(sorted(e["term"] for e in entries),
                         sorted(["alpha", "beta", "gamma"] + [f"bob {n}" for n in range(TERMS) for _ in range(SERVICES)]))
        self.assertEqual([e["seq"] for e in entries], list(range(1, total + 1)))
        window_records = [e for e in entries if e["term"] in ("alpha", "beta", "gamma")]
        self.assertEqual({(e["outcome"], e["started_by"]) for e in window_records}, {("loaded", "step")})
        self.assertLess(window_records[0]["seq"], entries[-1]["seq"] - 2)  # the two wrote at once
