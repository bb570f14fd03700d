# SPDX-License-Identifier: GPL-3.0-or-later
"""A case on a real PostgreSQL 15 shared by two programs: both record their matrix searches into
one case at once (no display needed), the server is stopped and started while they run, and the
case afterwards holds every search once, in one verified chain. Copied to a folder and back, it
still verifies. The password comes from a ~/.pgpass the way libpq reads it."""

import json
import os
import subprocess
import sys
import time
import unittest

import e2e
import pgserver

TERMS = 12
SERVICES = 4


@unittest.skipUnless(pgserver.available(), "PostgreSQL 15 is not installed "
                     "(Debian's postgresql-15; `make test` installs it)")
class PgCaseTest(e2e.ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.pg = pgserver.PgServer()
        self.addCleanup(self.pg.close)
        self.pg.write_pgpass(self.home)
        # Every page takes a while, so that the server is stopped while both programs record.
        self.web = e2e.RecordingServer(lambda path: (time.sleep(0.15), b"<title>r</title>")[1])
        self.addCleanup(self.web.close)
        lines = [f"S{i}=http://127.0.0.1:{self.web.port}/s{i}?q=|s|" for i in range(SERVICES)]
        self.write("sites.gls", "\r\n".join(lines).encode() + b"\r\n")

    def writer(self, name):
        self.write(f"{name}.glt", "\r\n".join(f"{name} {n}" for n in range(TERMS)).encode() + b"\r\n")
        process = subprocess.Popen([e2e.PROGRAM, "--matrix", "--services", "sites.gls", "--terms", f"{name}.glt",
                                    "--pause", "0", "--out", f"{name}.csv", "--case", self.pg.address("team")],
                                   cwd=self.folder, env=self.environment(), stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, text=True)
        self.addCleanup(process.kill)
        return process

    def entries(self, location):
        result = self.run_program("--export-case", location, "--format", "jsonl", "--out", "all.jsonl")
        self.assertEqual(result.returncode, 0, result.stderr)
        return [json.loads(line) for line in self.read("all.jsonl").decode().splitlines()]

    def test_two_writers_and_a_server_away(self):
        total = 2 * TERMS * SERVICES
        # A third program, as the log window would, hears of the others' records as they commit.
        watcher = subprocess.Popen([os.environ["GL_CASE_WRITER"], self.pg.address("team"), "watch",
                                    str(total)], env=self.environment(), stdout=subprocess.PIPE, text=True)
        self.addCleanup(watcher.kill)
        self.assertEqual(watcher.stdout.readline().strip(), "listening")
        writers = [self.writer("ada"), self.writer("bob")]
        e2e.wait_for(lambda: len(self.web.requests()) >= 8, what="both writers searching")
        self.pg.stop()
        time.sleep(2.0)  # searches go on; their records wait on disk
        self.pg.start()
        for process in writers:
            out, err = process.communicate(timeout=120)
            self.assertEqual(process.returncode, 0, err)
        address = self.pg.address("team")
        heard, _ = watcher.communicate(timeout=60)
        self.assertEqual(heard.split()[-1], str(total))  # the watcher lost its server too, and came back
        verified = self.run_program("--verify-case", address)
        self.assertEqual(verified.returncode, 0, verified.stderr)
        self.assertIn(f"{total} records", verified.stdout)
        entries = self.entries(address)
        cells = sorted((e["term"], e["service"]) for e in entries)
        expected = sorted((f"{who} {n}", f"S{i}") for who in ("ada", "bob") for n in range(TERMS)
                          for i in range(SERVICES))
        self.assertEqual(cells, expected)  # every search once
        self.assertEqual([e["seq"] for e in entries], list(range(1, len(expected) + 1)))
        self.assertEqual({e["author"].split("@")[0] for e in entries}, {"analyst"})
        # Folder and back: the same chain, verified at each end.
        copied = self.run_program("--copy-case", address, "folder")
        self.assertEqual(copied.returncode, 0, copied.stderr)
        back = self.run_program("--copy-case", "folder", self.pg.address("returned"))
        self.assertEqual(back.returncode, 0, back.stderr)
        self.assertEqual(self.entries(self.pg.address("returned")), entries)
        again = self.run_program("--copy-case", "folder", self.pg.address("returned"))
        self.assertEqual(again.returncode, 2)
        self.assertIn("already in the database", again.stderr)

    def test_window_beside_a_headless_writer(self):
        # The window walks three terms through its pane while a matrix records into the same case.
        self.write("Default.gls", f"Local=http://127.0.0.1:{self.web.port}/find/|s|\r\n".encode())
        self.write("Default.glt", b"alpha\r\nbeta\r\ngamma\r\n")
        self.start_bus()
        address = self.pg.address("team")
        window = subprocess.Popen([e2e.PROGRAM, "--case", address], cwd=self.folder, env=self.environment(),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (window.kill(), window.wait()))
        e2e.find_window(title := "Glen Lantern - case team on 127.0.0.1")
        matrix = self.writer("bob")
        time.sleep(1.0)
        e2e.keys(title, "Tab", "Down")
        for term in ("alpha", "beta", "gamma"):
            e2e.wait_for(lambda: term in (e["term"] for e in self.entries(address)), timeout=60, what=term)
            e2e.keys(title, "Down")
        _, err = matrix.communicate(timeout=120)
        self.assertEqual(matrix.returncode, 0, err)
        total = 3 + TERMS * SERVICES
        self.assertIn(f" {total} records", self.run_program("--verify-case", address).stdout)
        entries = self.entries(address)
        self.assertEqual(sorted(e["term"] for e in entries if not e["term"].startswith("bob")), ["alpha", "beta", "gamma"])
        self.assertEqual([e["seq"] for e in entries], list(range(1, total + 1)))
        self.assertLess(next(e["seq"] for e in entries if e["term"] == "alpha"), total - 2)  # written at once

    def test_captures_and_notes_both_ways(self):
        address = self.pg.address("captured")
        written = subprocess.run([os.environ["GL_CASE_WRITER"], address, "fill", "6"],
                                 env=self.environment(), capture_output=True, text=True, timeout=120)
        self.assertEqual(written.returncode, 0, written.stderr)
        self.assertEqual(self.run_program("--copy-case", address, "folder").returncode, 0)
        back = self.run_program("--copy-case", "folder", self.pg.address("back"))
        self.assertEqual(back.returncode, 0, back.stderr)
        self.assertIn("captures: 6, failed captures: 1, notes: 2", back.stdout)
        self.assertEqual(self.entries(self.pg.address("back")), self.entries(address))
        # A capture's bytes changed in the database: verify names it.
        self.pg.psql("UPDATE glenlantern.captures SET data = data || 'x'::bytea WHERE file = "
                     "(SELECT min(file) FROM glenlantern.captures)", self.pg.database)
        tampered = self.run_program("--verify-case", address)
        self.assertEqual(tampered.returncode, 1, tampered.stdout)

    def test_refusals(self):
        address = self.pg.address("team")
        self.assertEqual(self.run_program("--copy-case", "nowhere", address).returncode, 2)
        os.chmod(os.path.join(self.home, ".pgpass"), 0o644)
        open_to_all = self.run_program("--verify-case", address)
        self.assertEqual(open_to_all.returncode, 2)
        self.assertIn("may be read by others", open_to_all.stderr)
        os.chmod(os.path.join(self.home, ".pgpass"), 0o600)
        self.assertIn("holds no Glen Lantern cases", self.run_program("--verify-case", address).stderr)
        self.pg.psql("CREATE SCHEMA glenlantern AUTHORIZATION analyst; "
                     "CREATE TABLE glenlantern.meta (key text, value text); "
                     "ALTER TABLE glenlantern.meta OWNER TO analyst", self.pg.database)
        self.assertIn("is not Glen Lantern's", self.run_program("--verify-case", address).stderr)
        self.pg.psql("INSERT INTO glenlantern.meta VALUES ('application', 'glenlantern-case'), "
                     "('schema', '99')", self.pg.database)
        newer = self.run_program("--verify-case", address)
        self.assertEqual(newer.returncode, 2)
        self.assertIn("newer version of Glen Lantern (version 99", newer.stderr)


if __name__ == "__main__":
    sys.exit(unittest.main())
