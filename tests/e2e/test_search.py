# SPDX-License-Identifier: GPL-3.0-or-later
"""A user clicks a term and the browser pane asks the search service for it."""

import time
import unittest
import urllib.parse

import e2e


class SearchTest(e2e.ProgramTestCase):
    def test_click_on_a_term_searches_in_the_pane(self):
        server = e2e.RecordingServer()
        self.addCleanup(server.close)
        base = f"http://127.0.0.1:{server.port}"
        self.write("Default.gls", f"Local={base}/search?q=|s|&x=1\r\n".encode())
        self.write("Default.glt", "C++ & more #1 Привет\r\nblue sky\r\n".encode())
        window = self.start()
        # The term list's first row, below the 139-pixel service list under the menu bar.
        e2e.click(window, 40, 185)
        e2e.wait_for(lambda: any(p.startswith("/search?q=") for p in server.requests()),
                     timeout=60, what="the search request")
        requests = [p for p in server.raw_requests() if p.startswith("/search")]
        # Encoded as a browser encodes a search: every character reaches the service.
        term = urllib.parse.quote_plus("C++ & more #1 Привет", safe="")
        self.assertEqual(requests[0], f"/search?q={term}&x=1")
        self.assertEqual(requests[0], "/search?q=C%2B%2B+%26+more+%231+"
                                      "%D0%9F%D1%80%D0%B8%D0%B2%D0%B5%D1%82&x=1")

    def test_arrow_keys_search_at_each_step(self):
        server = e2e.RecordingServer()
        self.addCleanup(server.close)
        base = f"http://127.0.0.1:{server.port}"
        self.write("Default.gls", f"Local={base}/find/|s|\r\n".encode())
        self.write("Default.glt", b"one\r\ntwo\r\n")
        window = self.start()
        # Focus starts in the service list; Tab moves to the terms, Down picks the first.
        e2e.keys(window, "Tab", "Down")
        e2e.wait_for(lambda: "/find/one" in server.requests(), timeout=60,
                     what=lambda: f"/find/one in {server.requests()}")
        time.sleep(0.5)
        e2e.keys(window, "Down")
        e2e.wait_for(lambda: "/find/two" in server.requests(), timeout=60, what="/find/two")


if __name__ == "__main__":
    unittest.main()
