# SPDX-License-Identifier: GPL-3.0-or-later
"""The archives a user hands over, opened as a third party opens them: a page searched and
captured in the running program (its style sheet and picture on the local server), the case
stamped by a local time-stamp authority, the web server gone, then the WACZ and the WARC opened
in ReplayWeb.page (its npm package, in Debian's chromium): the page is laid out as a page, its
text, its picture and its style, not a picture of it. The stamp holds for openssl and verify."""

import json
import os
import shutil
import sqlite3
import struct
import subprocess
import time
import zipfile
import zlib

import e2e
from archive_servers import PageServer, StaticServer, TimestampAuthority

HERE = os.path.dirname(os.path.abspath(__file__))
PLAYER = os.path.join(HERE, "player")
COLOUR = "rgb(170, 20, 40)"


def png(width, height):
    """A plain PNG, each row a filter byte and its pixels, all one blue."""
    row = b"\x00" + b"\x20\x60\xc0" * width

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(row * height)) + chunk(b"IEND", b""))


def site(path):
    """The page a search finds, its style sheet and its picture, each with its type."""
    if path == "/style.css":
        return "text/css", f"h1 {{ color: {COLOUR}; }} p {{ border: 4px solid #246; padding: 8px; }}".encode()
    if path == "/picture.png":
        return "image/png", png(120, 60)
    term = path.rsplit("/", 1)[-1]
    return "text/html; charset=utf-8", (
        f'<!DOCTYPE html><html><head><title>Found {term}</title><link rel="stylesheet" href="/style.css">'
        f'</head><body><h1>{term}</h1><p>What the page says about {term}.</p>'
        '<img src="/picture.png" alt="picture"></body></html>').encode()


class ReplayTest(e2e.ProgramTestCase):
    def rows(self, sql):
        with sqlite3.connect(f"file:{self.case}/case.sqlite?mode=ro", uri=True) as db:
            return db.execute(sql).fetchall()

    def capture_a_page(self):
        server = PageServer(site)
        self.addCleanup(server.close)
        self.write("Default.gls", f"Local={server.base}/find/|s|\r\n".encode())
        self.write("Default.glt", b"alpha\r\n")
        self.start_bus()
        self.case = os.path.join(self.folder, "smith")
        self.process = subprocess.Popen([e2e.PROGRAM, "--case", self.case], cwd=self.folder, env=self.environment(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = "Glen Lantern - case smith"
        e2e.find_window(window)
        time.sleep(1.0)
        e2e.keys(window, "Tab", "Down")
        e2e.wait_for(lambda: self.rows("SELECT seq FROM entries WHERE kind = 'search'"), timeout=60, what="the search")
        self.assertEqual(self.run_program("--capture").returncode, 0)
        e2e.wait_for(lambda: len(self.rows("SELECT seq FROM entries WHERE kind = 'capture'")) == 3,
                     timeout=120, what="three captures")
        self.process.kill()
        self.process.wait(timeout=30)
        server.close()  # the site is gone: what replays comes from the archive alone
        return server.base + "/find/alpha"

    def stamp(self):
        authority = TimestampAuthority(os.path.join(self.folder, "tsa"))
        self.addCleanup(authority.close)
        stamped = self.run_program("--stamp-case", self.case, "--tsa", authority.base + "/tsa")
        self.assertEqual((stamped.returncode, stamped.stderr), (0, ""))
        head = self.rows("SELECT hash FROM entries WHERE seq = 4")[0][0]
        token = os.path.join(self.case, "stamps", f"000004-{head}.tsr")
        subprocess.run(["openssl", "ts", "-verify", "-digest", head, "-in", token, "-CAfile", authority.ca],
                       check=True, capture_output=True)
        verified = self.run_program("--verify-case", self.case, "--tsa-ca", authority.ca)
        self.assertEqual(verified.returncode, 0, verified.stderr)
        self.assertIn("\nStamps that hold: 1; the last at ", verified.stdout)
        self.authority_ca = authority.ca
        return token

    def replay(self, archive, page_url):
        served = os.path.join(self.folder, "served")
        os.makedirs(os.path.join(served, "replay"), exist_ok=True)
        for folder in (served, os.path.join(served, "replay")):  # the page and the player's frame load it
            shutil.copy(os.path.join(PLAYER, "package", "ui.js"), folder)
        shutil.copy(os.path.join(PLAYER, "package", "sw.js"), os.path.join(served, "replay"))
        shutil.copy(archive, served)
        with open(os.path.join(served, "index.html"), "w") as f:
            f.write('<!DOCTYPE html><html><head><script src="/ui.js"></script></head><body>'
                    f'<replay-web-page source="/{os.path.basename(archive)}" url="{page_url}" '
                    'replaybase="/replay/" embed="replayonly" style="width:1100px;height:800px;display:block">'
                    '</replay-web-page></body></html>')
        server = StaticServer(served)
        self.addCleanup(server.close)
        shot = os.path.join(self.folder, os.path.basename(archive) + ".png")
        result = subprocess.run(["node", os.path.join(HERE, "replay_page.js"), server.base + "/index.html",
                                 page_url, shot], capture_output=True, text=True, timeout=300)
        self.assertEqual(result.returncode, 0, result.stderr)
        if os.environ.get("GL_KEEP_SHOTS"):
            shutil.copy(shot, os.environ["GL_KEEP_SHOTS"])
        return json.loads(result.stdout)

    def test_wacz_and_warc_replay_as_the_page(self):
        page_url = self.capture_a_page()
        token = self.stamp()
        wacz = os.path.join(self.folder, "smith.wacz")
        warc = os.path.join(self.folder, "smith.warc.gz")
        for fmt, out in (("wacz", wacz), ("warc", warc)):
            result = self.run_program("--export-case", self.case, "--format", fmt, "--out", out)
            self.assertEqual((result.returncode, result.stderr), (0, ""), fmt)

        with zipfile.ZipFile(wacz) as archive:
            self.assertEqual({i.compress_type for i in archive.infolist()}, {zipfile.ZIP_STORED})
            package = json.loads(archive.read("datapackage.json"))
            paths = [r["path"] for r in package["resources"]]
            self.assertEqual(paths, ["archive/data.warc.gz", "indexes/index.cdx", "pages/pages.jsonl",
                                     "stamps/" + os.path.basename(token)])
            with open(token, "rb") as f:
                self.assertEqual(archive.read(paths[3]), f.read())
            self.assertEqual((package["wacz_version"], package["title"]), ("1.1.1", "smith"))
            pages = [json.loads(line) for line in archive.read("pages/pages.jsonl").splitlines()]
            self.assertEqual([p.get("url") for p in pages[1:]], [page_url])

        report_file = os.path.join(self.case, "report.html")  # beside captures/: the files are linked
        result = self.run_program("--export-case", self.case, "--format", "html", "--out", report_file,
                                  "--tsa-ca", self.authority_ca)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        with open(report_file, encoding="utf-8") as f:
            report = f.read()
        self.assertIn("<h1>Search record of the case smith</h1>", report)
        self.assertIn("<th>Verified at export</th><td>the record holds: 5 records, chain head sha256:", report)
        self.assertRegex(report, r"record 4 \(sha256:[0-9a-f]{64}\) stamped at [0-9T:.-]+Z \(UTC\) by CN=Local TSA")
        self.assertIn(f"<td><code>Local={page_url[:-len('/find/alpha')]}/find/|s|</code></td>", report)
        links = [n for n, _ in self.rows("SELECT file, seq FROM entries WHERE kind = 'capture'")]
        for name in links:
            self.assertIn(f'<a href="captures/{name}">{name}</a>', report)

        expected = {"type": "text/html", "heading": "alpha", "colour": COLOUR, "pictureWidth": 120}
        for archive in (wacz, warc):
            with self.subTest(archive=os.path.basename(archive)):
                shown = self.replay(archive, page_url)
                self.assertIsNotNone(shown, "the page never came up in the player")
                self.assertEqual({k: shown[k] for k in expected}, expected)
                self.assertGreater(shown["pageWidth"], 600)  # laid out at the player's width
