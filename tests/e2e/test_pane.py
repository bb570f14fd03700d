# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser pane's keys in the running program: Alt+Left goes back after two searches."""

import unittest

import e2e

COLOURS = {"one": (200, 40, 40), "two": (40, 40, 200)}


def page(path):
    term = path.rsplit("/", 1)[-1]
    r, g, b = COLOURS.get(term, (255, 255, 255))
    return (f"<html style='background:rgb({r},{g},{b})'><head><title>{term}</title></head>"
            f"<body><h1>{term}</h1></body></html>").encode()


class PaneTest(e2e.ProgramTestCase):
    def test_alt_left_after_two_searches_goes_back(self):
        server = e2e.RecordingServer(page)
        self.addCleanup(server.close)
        self.write("Default.gls", f"Local=http://127.0.0.1:{server.port}/find/|s|\r\n".encode())
        self.write("Default.glt", b"one\r\ntwo\r\n")
        window = self.start()
        x, y, width, height = e2e.geometry(window)
        spot = (x + width - 100, y + height - 100)  # in the pane, clear of the page's text

        def shows(term):
            e2e.wait_for(lambda: e2e.pixel(*spot) == COLOURS[term], timeout=60,
                         what=lambda: f"the page of '{term}', the pane shows {e2e.pixel(*spot)}")

        # Focus starts in the service list; Tab moves to the terms, Down picks the first.
        e2e.keys(window, "Tab", "Down")
        shows("one")
        e2e.keys(window, "Down")
        shows("two")
        e2e.keys(window, "alt+Left")
        shows("one")
        e2e.keys(window, "alt+Right")
        shows("two")
        self.assertEqual([p for p in server.requests() if p.startswith("/find/")],
                         ["/find/one", "/find/two"])


if __name__ == "__main__":
    unittest.main()
