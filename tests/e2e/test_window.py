# SPDX-License-Identifier: GPL-3.0-or-later
"""The main window is made once and keeps painting: the browser engine's start leaves its native
window as it was, and a dialog passed over it and over a notepad leaves both painted."""

import subprocess
import time
import unittest

import e2e


def engine_started(pid):
    children = subprocess.run(["pgrep", "-P", str(pid)], capture_output=True, text=True).stdout
    for child in children.split():
        try:
            with open(f"/proc/{child}/cmdline", "rb") as f:
                if b"QtWebEngineProcess" in f.read():
                    return True
        except FileNotFoundError:
            pass
    return False


def region(x, y, width, height):
    """The screen's pixels there, as bytes."""
    return subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                           "-depth", "8", "rgb:-"], capture_output=True, timeout=30).stdout


def visible_windows():
    return set(e2e.xdotool("search", "--onlyvisible", "--name", ".", check=False).split())


class WindowTest(e2e.ProgramTestCase):
    def lists(self, server):
        self.write("Default.gls", f"Local=http://127.0.0.1:{server.port}/find/|s|\r\n".encode())
        self.write("Default.glt", b"one\r\ntwo\r\n")

    def test_engine_start_keeps_the_native_window(self):
        server = e2e.RecordingServer()
        self.addCleanup(server.close)
        self.lists(server)
        self.process = subprocess.Popen([e2e.PROGRAM], cwd=self.folder, env=self.environment(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        first = e2e.find_window(e2e.MAIN_TITLE)
        e2e.wait_for(lambda: engine_started(self.process.pid), timeout=60,
                     what="the browser engine's helper process")
        time.sleep(2.0)
        self.assertEqual(e2e.xdotool("search", "--name", f"^{e2e.MAIN_TITLE}$").split(), [first])
        e2e.keys(e2e.MAIN_TITLE, "Tab", "Down")  # the engine's view shows a page
        e2e.wait_for(lambda: "/find/one" in server.requests(), timeout=60, what="the search")
        time.sleep(1.0)
        self.assertEqual(e2e.xdotool("search", "--name", f"^{e2e.MAIN_TITLE}$").split(), [first])

    def test_dialog_leaves_the_window_and_a_notepad_painted(self):
        server = e2e.RecordingServer()
        self.addCleanup(server.close)
        self.lists(server)
        window = self.start()
        e2e.keys(window, "Tab", "Down")
        e2e.wait_for(lambda: "/find/one" in server.requests(), timeout=60, what="the search")
        time.sleep(3.0)
        e2e.keys(window, "alt+o", "n")  # Tools > New NotePad, over the main window
        notepad = "Text Document 1"
        e2e.find_window(notepad)
        e2e.type_text(notepad, "Words in the notepad")
        time.sleep(1.0)
        x, y, width, height = e2e.geometry(window)
        nx, ny, _, _ = e2e.geometry(notepad)
        # The menu bar and the status line of the main window, the notepad's first words (left
        # of its blinking cursor).
        spots = [(x, y, width, 20), (x, y + height - 20, width - 30, 18), (nx, ny + 25, 100, 15)]
        before = [region(*spot) for spot in spots]
        self.assertTrue(all(before))
        covered = set()

        for owner, moves in ((window, [(x - 20, y - 10), (x + 40, y + height - 100)]),
                             (notepad, [(nx, ny), (nx + 200, ny + 150)])):
            shown = visible_windows()
            e2e.keys(owner, "ctrl+o")
            dialog = e2e.wait_for(lambda: visible_windows() - shown, timeout=30,
                                  what="the file dialog").pop()
            for mx, my in moves:  # passed over the window, as a user drags it
                e2e.xdotool("windowmove", dialog, str(mx), str(my))
                time.sleep(0.5)
                covered |= {i for i, spot in enumerate(spots) if region(*spot) != before[i]}
            e2e.xdotool("key", "Escape")
            e2e.wait_for(lambda: dialog not in visible_windows(), timeout=30, what="the dialog to go")
        self.assertEqual(covered, {0, 1, 2}, "the dialogs did not pass over every region")
        time.sleep(1.5)
        for spot, pixels in zip(spots, before):
            self.assertEqual(region(*spot), pixels, f"the region {spot} was not painted again")


if __name__ == "__main__":
    unittest.main()
