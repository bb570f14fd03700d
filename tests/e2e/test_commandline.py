# SPDX-License-Identifier: GPL-3.0-or-later
"""The command line: jobs without a window that run with no display, and a later start that hands
its command line to the running program over a session bus of the test's own."""

import os
import signal
import subprocess
import time
import unittest

import e2e


def without_display(env):
    env = dict(env)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY"):
        env.pop(name, None)
    return env


class PrintUrlTest(e2e.ProgramTestCase):
    """--print-url, --help and mistakes need no display: no application with windows is made."""

    def setUp(self):
        super().setUp()
        self.write("Default.gls", b"Web=http://a.example/?q=|s|&lang=en\r\n"
                                  b"Maps=https://m.example/place/|s|/map\r\n")
        self.write("other.gls", b"Books=http://b.example/find?isbn=|s|\r\n")

    def run_headless(self, *args):
        return self.run_program(*args, env=without_display(self.environment()))

    def test_addresses(self):
        # The cases of the unit test's table; here: the real binary, with no display at all.
        cases = [
            (["--print-url", "cats"], "http://a.example/?q=cats&lang=en\n"),
            (["--print-url", "--service", "Maps", "Lovelace"],
             "https://m.example/place/Lovelace/map\n"),
            (["--print-url", "--services", "other.gls", "--all-services", "0131103628"],
             "Books\thttp://b.example/find?isbn=0131103628\n"),
        ]
        for args, expected in cases:
            with self.subTest(args=args):
                result = self.run_headless(*args)
                self.assertEqual((result.returncode, result.stdout, result.stderr), (0, expected, ""))
        result = self.run_headless("--help")
        self.assertEqual(result.returncode, 0)
        self.assertIn("--print-url", result.stdout)

    def test_german_from_the_locale(self):
        # LANGUAGE chooses the language before LANG, as on a desktop set to German: the help, the
        # mistakes and Qt's own texts of the command line are German, the addresses unchanged.
        env = without_display(self.environment())
        env.update(LANGUAGE="de", LC_ALL="", LANG="C.UTF-8")
        result = self.run_program("--help", env=env)
        self.assertEqual(result.returncode, 0)
        self.assertTrue(result.stdout.startswith("Aufruf: glenlantern"), result.stdout)
        self.assertIn("  --print-url", result.stdout)
        result = self.run_program("--print-url", "--service", "Nowhere", "cats", env=env)
        self.assertEqual((result.returncode, result.stdout), (2, ""))
        self.assertIn("In der Dienstliste gibt es keinen Suchdienst namens", result.stderr)
        result = self.run_program("--frobnicate", env=env)
        self.assertEqual(result.returncode, 2)
        self.assertIn("Unbekannte Option", result.stderr)
        result = self.run_program("--print-url", "cats", env=env)
        self.assertEqual((result.returncode, result.stdout), (0, "http://a.example/?q=cats&lang=en\n"))

    def test_import_and_export_need_no_display(self):
        source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "opensearch", "utf8.xml")
        result = self.run_headless("--import", source, "--into", "mine.gls")
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertTrue(result.stdout.startswith("Imported: "), result.stdout)
        with open(os.path.join(self.folder, "mine.gls"), "rb") as f:
            imported = f.read()
        self.assertTrue(imported.endswith(b"\r\n") and b"|s|" in imported, imported)
        result = self.run_headless("--export", "opensearch", "--services", "mine.gls", "out")
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        written = os.listdir(os.path.join(self.folder, "out"))
        self.assertEqual(len(written), 1)
        # What was written reads back as the same service.
        again = self.run_headless("--import", os.path.join("out", written[0]), "--into", "back.gls")
        self.assertEqual(again.returncode, 0)
        with open(os.path.join(self.folder, "back.gls"), "rb") as f:
            self.assertEqual(f.read(), imported)

    def test_mistakes_end_with_status_2_and_one_line(self):
        cases = [
            (["--frob"], "glenlantern: Unknown option 'frob'.\n"),
            (["--services", "missing.gls", "x"],
             f'glenlantern: Cannot open file "{self.folder}/missing.gls". '
             "No such file or directory\n"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                # Headless: a start that opened anything would fail without a display.
                result = self.run_headless(*args)
                self.assertEqual((result.returncode, result.stdout, result.stderr),
                                 (2, "", message))


    def test_exit_status_of_every_job(self):
        # 0 done, 2 what the command names cannot be used, 1 a failure while working.
        os.mkfifo(os.path.join(self.folder, "fifo.gls"))
        with open(os.path.join(self.folder, "sparse.gls"), "wb") as f:
            f.truncate(2 << 30)
        self.write("evil.gls", b"JS=javascript:alert(|s|)\r\nWeb=http://w.example/?q=|s|\r\n")
        source = os.path.join(os.path.dirname(__file__), "..", "data", "opensearch", "utf8.xml")
        export = ["--export", "kde", "--services"]
        cases = [
            (["--version"], 0, ""),
            (["--frob"], 2, "Unknown option"),
            (["--print-url", "--services", "sparse.gls", "x"], 2, "line 1 holds a NUL byte"),
            (["--print-url", "--services", "evil.gls", "-s", "JS", "x"], 1, "only http and https"),
            (export + ["/dev/zero", "out"], 2, "Not a regular file"),
            (export + ["fifo.gls", "out"], 2, "Not a regular file"),
            (export + ["evil.gls", "out"], 0, ""),
            (export + ["evil.gls", "out"], 1, "already exists"),
            (["--import", "fifo.gls", "--into", "mine.gls"], 2, "not a regular file"),
            (["--import", source, "--into", "sparse.gls"], 2, "line 1 holds a NUL byte"),
            (["--import", source, "--into", "gone/mine.gls"], 1, "Cannot create file"),
            (["--import", source, "--into", "mine.gls"], 0, ""),
        ]
        for args, status, error in cases:
            with self.subTest(args=args):
                result = self.run_headless(*args)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertIn(error, result.stderr) if error else self.assertEqual(result.stderr, "")


class RunningProgramTest(e2e.ProgramTestCase):
    """A later start reaches the running program over the session bus and ends."""

    def setUp(self):
        super().setUp()
        self.server = e2e.RecordingServer()
        self.addCleanup(self.server.close)
        self.base = f"http://127.0.0.1:{self.server.port}"
        self.write("Default.gls", f"Find={self.base}/find/|s|\r\nOther={self.base}/other?q=|s|\r\n"
                   .encode())
        self.write("Default.glt", b"apple\r\n")
        self.elsewhere = os.path.join(self.folder, "elsewhere")
        os.makedirs(self.elsewhere)

    def wait_for_request(self, path):
        return e2e.wait_for(lambda: path in self.server.requests(), timeout=60,
                            what=lambda: f"{path} in {self.server.requests()}")

    def test_second_start_searches_in_the_running_program(self):
        self.start_bus()
        self.start()
        # The pane asks for the address --print-url prints: the same code makes both.
        printed = self.run_program("--print-url", "Ada Lovelace",
                                   env=without_display(self.environment())).stdout.strip()
        self.assertEqual(e2e.request_path(printed), "/find/Ada Lovelace")
        result = self.run_program("Ada Lovelace", cwd=self.elsewhere, timeout=30)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.wait_for_request(e2e.request_path(printed))
        # One program, one window.
        self.assertEqual(len(e2e.xdotool("search", "--onlyvisible", "--name",
                                         f"^{e2e.MAIN_TITLE}$").split()), 1)
        self.assertIsNone(self.process.poll())

    def test_second_start_with_a_service_and_lists_of_its_own_folder(self):
        self.start_bus()
        self.start()
        with open(os.path.join(self.elsewhere, "mine.gls"), "wb") as f:
            f.write(f"Books={self.base}/books/|s|\r\n".encode())
        result = self.run_program("-s", "Other", "owls", cwd=self.elsewhere)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.wait_for_request("/other?q=owls")
        # A list named relative to the second start's folder.
        result = self.run_program("--services", "mine.gls", "--service", "Books", "dune",
                                  cwd=self.elsewhere)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.wait_for_request("/books/dune")

    def test_running_program_refuses_what_it_cannot_do(self):
        self.start_bus()
        self.start()
        result = self.run_program("--service", "Nope", "x", cwd=self.elsewhere)
        self.assertEqual((result.returncode, result.stderr),
                         (2, 'glenlantern: There is no service named "Nope" in the service list\n'))
        result = self.run_program("--frob")
        self.assertEqual(result.returncode, 2)
        time.sleep(1)
        self.assertEqual([p for p in self.server.requests() if p != "/favicon.ico"], [])
        self.assertIsNone(self.process.poll())

    def test_a_start_without_the_display_reaches_the_running_program(self):
        self.start_bus()
        self.start()
        result = self.run_program("cats", env=without_display(self.environment()))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.wait_for_request("/find/cats")

    def test_a_stopped_program_holds_a_start_briefly(self):
        self.start_bus()
        self.start()
        os.kill(self.process.pid, signal.SIGSTOP)
        second = subprocess.Popen([e2e.PROGRAM, "cats"], cwd=self.folder, env=self.environment(),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self.addCleanup(second.kill)
        self.wait_for_request("/find/cats")  # it waited a few seconds and runs on its own
        second.kill()
        self.assertEqual(second.communicate()[1].count("did not answer"), 1)

    def test_without_a_session_bus_each_start_runs_on_its_own(self):
        self.start()  # no bus
        second = e2e.subprocess.Popen([e2e.PROGRAM, "cats"], cwd=self.folder,
                                      env=self.environment(), stdout=e2e.subprocess.DEVNULL,
                                      stderr=e2e.subprocess.DEVNULL)
        self.addCleanup(second.wait)
        self.addCleanup(second.kill)
        self.wait_for_request("/find/cats")
        e2e.wait_for(lambda: len(e2e.xdotool("search", "--onlyvisible", "--name",
                                             f"^{e2e.MAIN_TITLE}$", check=False).split()) == 2,
                     what="two main windows")
        self.assertIsNone(second.poll())


if __name__ == "__main__":
    unittest.main()
