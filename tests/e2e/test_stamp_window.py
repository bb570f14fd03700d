# SPDX-License-Identifier: GPL-3.0-or-later
"""A case stamped from the window as a user does it: the program started on a case whose pages go
through a SOCKS5 proxy, Case > Stamp Now by keys, the time-stamp authority asked for in its dialog
by a name that only the proxy knows (and kept with the case). --stamp-case of the same case goes
through the same proxy, and --verify-case holds both stamps."""

import json
import os
import sqlite3
import subprocess

import e2e
from archive_servers import TimestampAuthority
from socks5 import Socks5Proxy

AUTHORITY = "tsa.test"  # a name no resolver knows: only the proxy reaches it


class StampWindowTest(e2e.ProgramTestCase):
    def stamps(self):
        with sqlite3.connect(f"file:{self.case}/case.sqlite?mode=ro", uri=True) as db:
            return db.execute("SELECT seq FROM entries WHERE kind = 'stamp'").fetchall()

    def test_stamp_now_through_the_cases_proxy(self):
        authority = TimestampAuthority(os.path.join(self.folder, "tsa"))
        self.addCleanup(authority.close)
        proxy = Socks5Proxy({AUTHORITY: ("127.0.0.1", authority.port)})
        self.addCleanup(proxy.close)
        proxy_text = f"socks5://127.0.0.1:{proxy.port}"
        self.case = os.path.join(self.folder, "smith")
        subprocess.run([os.environ["GL_CASE_WRITER"], self.case, "fill", "2"], check=True, capture_output=True)
        with open(os.path.join(self.case, "settings.json"), "w") as f:
            json.dump({"proxy": proxy_text}, f)

        self.start_bus()
        self.process = subprocess.Popen([e2e.PROGRAM, "--case", self.case], cwd=self.folder, env=self.environment(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = f"Glen Lantern - case smith - through {proxy_text}"
        e2e.find_window(window, timeout=60)
        address = f"http://{AUTHORITY}/tsa"
        e2e.keys(window, "alt+a", "s")  # Case > Stamp Now: no authority yet, so its dialog asks
        e2e.find_window("Stamp Now - smith")
        e2e.type_text("Stamp Now - smith", address)
        e2e.keys("Stamp Now - smith", "Return")
        e2e.wait_for(self.stamps, timeout=60, what="the stamp")
        e2e.keys(window, "F10", "Up", "Return")  # File > Exit
        self.assertEqual(self.wait_exit(timeout=60), 0)

        stamped = self.run_program("--stamp-case", self.case, "--tsa", address)
        self.assertEqual((stamped.returncode, stamped.stderr), (0, ""))
        self.assertEqual(proxy.names(), [AUTHORITY, AUTHORITY])
        self.assertEqual(proxy.addresses(), [])
        verified = self.run_program("--verify-case", self.case, "--tsa-ca", authority.ca)
        self.assertEqual(verified.returncode, 0, verified.stderr)
        self.assertRegex(verified.stdout, f"\nStamps that hold: 2; the last at .* by CN=Local TSA \\({address}\\)")
