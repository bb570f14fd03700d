# SPDX-License-Identifier: GPL-3.0-or-later
"""A POST service in the running program: the form's content type and body bytes (a charset),
never sent ahead of a step; a reload asks before it goes again, a step back sends nothing; a
service's own headers sent with its search."""

import time
import unittest

import e2e

QUESTION = r"Send the Form Again\?"  # a pattern for xdotool


class PostTest(e2e.ProgramTestCase):
    def test_form_is_posted_and_a_reload_asks(self):
        server = e2e.RecordingServer()
        self.addCleanup(server.close)
        self.write("Default.gls", f"Form=http://127.0.0.1:{server.port}/find\t"
                                  "post=q=|s:windows-1251|&lang=en\r\n".encode())
        self.write("Default.glt", "Привет мир\r\nsecond\r\n".encode())
        window = self.start()
        sent = ("/find", "application/x-www-form-urlencoded",
                b"q=%CF%F0%E8%E2%E5%F2+%EC%E8%F0&lang=en")

        def forms_after(keys, count, answer=None):
            e2e.keys(window, *keys)
            if answer:
                e2e.keys(QUESTION, answer)  # waits for the question
            e2e.wait_for(lambda: len(server.forms) >= count, timeout=60, what=f"{count} forms")
            time.sleep(3)  # nothing more comes: no load ahead, no form sent unasked
            self.assertEqual(len(server.forms), count)

        # Focus starts in the service list; Tab moves to the terms, Down picks the first.
        forms_after(["Tab", "Down"], 1)
        self.assertEqual(server.forms, [sent])
        self.assertEqual([p for p in server.raw_requests() if p != "/favicon.ico"], ["/find"])
        forms_after(["F5"], 1, answer="Escape")
        forms_after(["F5"], 2, answer="alt+s")
        self.assertEqual(server.forms, [sent, sent])
        forms_after(["Down"], 3)
        forms_after(["alt+Left"], 3)
        forms_after(["F5"], 3, answer="Escape")

    def test_service_headers_are_sent(self):
        # A service's own header (here its body's type) goes with the pane's search.
        server = e2e.RecordingServer()
        self.addCleanup(server.close)
        self.write("Default.gls", f"Json=http://127.0.0.1:{server.port}/lookup\t"
                                  'post={"user": "|s|"}\theader=Content-Type: application/json\r\n'.encode())
        self.write("Default.glt", b"ada\r\n")
        window = self.start()
        e2e.keys(window, "Tab", "Down")
        e2e.wait_for(lambda: server.forms, timeout=60, what="the form")
        self.assertEqual(server.forms, [("/lookup", "application/json", b'{"user": "ada"}')])


if __name__ == "__main__":
    unittest.main()
