# SPDX-License-Identifier: GPL-3.0-or-later
"""The jobs on a case, run as a user runs them with no display: --verify-case and --export-case
over a case written through the library (case_writer), every export read back by readers of the
test's own: the chain recomputed from JSON Lines and from the WARC, the captures' bytes."""

import csv
import hashlib
import json
import os
import sqlite3
import subprocess

import e2e
from test_commandline import without_display
from warc_reader import read_warc_gz

WRITER = os.environ.get("GL_CASE_WRITER")
SEARCHES = 6


def canonical_hash(entry):
    fields = {k: v for k, v in entry.items() if k != "hash"}
    text = json.dumps(fields, sort_keys=True, separators=(",", ":"), ensure_ascii=False)
    return hashlib.sha256(text.encode("utf-8")).hexdigest()


class CaseJobsTest(e2e.ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.case = os.path.join(self.folder, "case")
        subprocess.run([WRITER, self.case, "fill", str(SEARCHES)], check=True, capture_output=True)

    def job(self, *args):
        return self.run_program(*args, env=without_display(self.environment()))

    def export(self, fmt):
        out = os.path.join(self.folder, "out." + fmt)
        result = self.job("--export-case", self.case, "--format", fmt, "--out", out)
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, "", ""))
        return out

    def check_chain(self, entries):
        with sqlite3.connect(f"file:{self.case}/case.sqlite?mode=ro", uri=True) as db:
            meta = dict(db.execute("SELECT key, value FROM meta"))
        genesis = {"application": "glenlantern-case", "case_id": meta["case_id"], "created": meta["created"]}
        previous = canonical_hash(genesis)
        for seq, entry in enumerate(entries, 1):
            self.assertEqual((entry["seq"], entry["prev_hash"], entry["hash"]), (seq, previous, canonical_hash(entry)))
            previous = entry["hash"]
        self.assertEqual(meta["head_hash"], previous)

    def test_verify_and_every_export(self):
        result = self.job("--verify-case", self.case)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertRegex(result.stdout, r'^The case ".*" holds: 15 records \(searches: 6, captures: 6, failed captures: 1, notes: 2\), chain head sha256:[0-9a-f]{64}\n$')

        with open(self.export("jsonl"), encoding="utf-8") as f:
            entries = [json.loads(line) for line in f]
        self.check_chain(entries)
        searches = [e for e in entries if e["kind"] == "search"]
        self.assertIn("\r\n", searches[0]["term"])

        with open(self.export("csv"), encoding="utf-8", newline="") as f:
            self.assertEqual(f.read(1), "\ufeff")
            rows = list(csv.DictReader(f))
        self.assertEqual([r["term"] for r in rows], [s["term"] for s in searches])
        self.assertEqual(rows[2]["service"], "'" + searches[2]["service"])  # "=Books...": kept text
        self.assertIn("pdf failed: the page never loaded", rows[1]["captures"])

        with open(self.export("html"), encoding="utf-8") as f:
            page = f.read()
        self.assertNotIn("<script>", page)
        self.assertNotIn("<img", page)
        self.assertEqual(page.count("&lt;script&gt;alert(1)&lt;/script&gt;"), SEARCHES)
        self.assertEqual(page.count("<h2>"), 2)  # two services

        records = read_warc_gz(self.export("warc"))
        self.assertEqual(records[0][0]["WARC-Type"], "warcinfo")
        ids = [h["WARC-Record-ID"] for h, _ in records]
        self.assertEqual(len(ids), len(set(ids)))
        metadata = [(h, json.loads(b)) for h, b in records if h["WARC-Type"] == "metadata"]
        self.assertEqual([m for _, m in metadata], entries)
        resources = {h["WARC-Record-ID"]: (h, b) for h, b in records if h["WARC-Type"] == "resource"}
        files = 0
        for headers, entry in metadata:
            self.assertTrue(headers["WARC-Target-URI"].startswith("http://127.0.0.1/?q=term+"))
            if entry["kind"] != "capture" or entry["failure"]:
                continue
            resource, block = resources[headers["WARC-Concurrent-To"]]
            with open(os.path.join(self.case, "captures", entry["file"]), "rb") as f:
                self.assertEqual(block, f.read())
            self.assertEqual(resource["WARC-Block-Digest"], "sha256:" + entry["sha256"])
            files += 1
        self.assertEqual((files, len(resources)), (SEARCHES, SEARCHES))

    def test_exit_statuses(self):
        captures = os.path.join(self.case, "captures")
        first = sorted(os.listdir(captures))[0]
        with open(os.path.join(captures, first), "r+b") as f:
            f.write(b"C")
        result = self.job("--verify-case", self.case)
        self.assertEqual((result.returncode, result.stdout), (1, ""))
        self.assertIn(f"does not hold: the capture of record 2: {first} was changed", result.stderr)
        os.remove(os.path.join(captures, first))
        warc = os.path.join(self.folder, "x.warc.gz")
        result = self.job("--export-case", self.case, "--format", "warc", "--out", warc)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"Left out of {warc}: the capture of record 2: captures/{first} is missing", result.stderr)
        self.assertEqual(len(read_warc_gz(warc)), 1 + 15 + SEARCHES - 1)
        cases = [
            (["--export-case", self.case, "--format", "xml", "--out", "x"], 2, '--format is one of csv, jsonl, html, warc, wacz, not "xml"'),
            (["--export-case", self.case, "--format", "csv", "--out", "/nowhere/x.csv"], 1, 'Cannot create file "/nowhere/x.csv"'),
            (["--verify-case", self.folder], 2, "it is not a case folder"),
            (["--export-case", os.path.join(self.folder, "missing"), "--format", "csv", "--out", "x"], 2, "No such file or directory"),
        ]
        for args, status, message in cases:
            with self.subTest(args=args):
                result = self.job(*args)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertIn(message, result.stderr)
        with open(os.path.join(self.case, "case.sqlite"), "r+b") as f:
            f.write(b"garbage!" * 16)
        result = self.job("--verify-case", self.case)
        self.assertEqual(result.returncode, 2)
        self.assertIn("case.sqlite is damaged or not a database", result.stderr)

    def test_hostile_folder(self):
        """A case folder handed over with links out of it and a pipe for its database: the jobs
        refuse it at once and nothing outside the case is written or removed."""
        outside = os.path.join(self.folder, "outside")
        os.makedirs(outside)
        precious = os.path.join(outside, "precious")
        with open(precious, "w") as f:
            f.write("precious\n")
        with open(os.path.join(self.folder, "s.gls"), "w") as f:
            f.write("Local=http://127.0.0.1:9/?q=|s|\tfound=status:200\n")
        with open(os.path.join(self.folder, "t.glt"), "w") as f:
            f.write("someone\n")
        lock = os.path.join(self.case, "case.lock")
        os.remove(lock)
        os.symlink(precious, lock)
        result = self.job("--matrix", "--services", "s.gls", "--terms", "t.glt", "--case", self.case)
        self.assertEqual(result.returncode, 2)
        self.assertIn(f'Cannot open the case "{self.case}" for writing: case.lock is a symbolic link, not a regular file', result.stderr)
        os.remove(lock)
        captures = os.path.join(self.case, "captures")
        os.rename(captures, os.path.join(outside, "captures"))
        open(os.path.join(outside, "captures", ".partial-x.png"), "w").close()
        os.symlink(os.path.join(outside, "captures"), captures)
        result = self.job("--matrix", "--services", "s.gls", "--terms", "t.glt", "--case", self.case)
        self.assertIn("captures is a symbolic link, not a folder", result.stderr)
        result = self.job("--verify-case", self.case)
        self.assertEqual((result.returncode, result.stderr), (1, f'glenlantern: The case "{self.case}" does not hold: captures is a symbolic link, not a folder\n'))
        self.assertTrue(os.path.exists(os.path.join(outside, "captures", ".partial-x.png")))
        database = os.path.join(self.case, "case.sqlite")
        os.rename(database, os.path.join(outside, "case.sqlite"))
        os.mkfifo(database)
        for args in (["--verify-case", self.case], ["--export-case", self.case, "--format", "csv", "--out", "x.csv"]):
            with self.subTest(args=args):
                result = self.run_program(*args, env=without_display(self.environment()), timeout=20)
                self.assertEqual(result.returncode, 2)
                self.assertIn("case.sqlite is a named pipe, not a regular file", result.stderr)
        with open(precious) as f:
            self.assertEqual(f.read(), "precious\n")
