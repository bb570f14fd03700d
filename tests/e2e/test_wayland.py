# SPDX-License-Identifier: GPL-3.0-or-later
"""The program in a Wayland session, as GNOME and KDE start them: Debian's weston (headless, its
CPU renderer) as the compositor and Qt's wayland platform, no X server at all. Nothing sends X
input there, so the test works the program as a screen reader does, over the accessibility bus
(AT-SPI): every menu item and button is pressed by its accessible name."""

import os
import subprocess
import time
import unittest

import pyatspi
from gi.repository import Atspi, GLib

import e2e

# Qt answers a press only once what it started returns, and a modal dialog returns when it
# closes; a press that opens one is taken as done when no answer came within this time.
MODAL_WAIT_MS = 3000
Atspi.set_timeout(MODAL_WAIT_MS, 30000)


class WaylandSession:
    """weston on a socket of its own, in a runtime folder only the user may enter."""

    def __init__(self, folder):
        self.runtime = os.path.join(folder, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        self.socket = "gl-wayland-0"
        self.process = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--use-pixman", f"--socket={self.socket}",
             "--width=1280", "--height=1024", "--idle-time=0"],
            env=dict(os.environ, XDG_RUNTIME_DIR=self.runtime),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        e2e.wait_for(lambda: os.path.exists(os.path.join(self.runtime, self.socket)),
                     what="weston's socket")

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=30)


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def find(node, role, name, depth=12):
    """The first accessible under the node with this role and name, or None."""
    if node is None:
        return None
    if node.getRoleName() == role and node.name == name:
        return node
    if depth == 0:
        return None
    for child in children(node):
        found = find(child, role, name, depth - 1)
        if found:
            return found
    return None


def texts(node, depth=12):
    """Every name and text under the node: what a screen reader would read."""
    out = [node.name]
    if "Text" in pyatspi.listInterfaces(node):
        out.append(node.queryText().getText(0, -1))
    if depth:
        for child in children(node):
            out += texts(child, depth - 1)
    return out


def press(node, name="Press", opens_modal=False):
    """The action a user takes on it: Press for buttons and menu items, Toggle selects a row."""
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    try:
        action.doAction(names.index(name))
    except GLib.Error as error:
        if not opens_modal or "Did not receive a reply" not in error.message:
            raise


class WaylandTest(e2e.ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.session = WaylandSession(self.folder)
        self.addCleanup(self.session.close)
        self.start_bus()
        # The accessibility bus of this session: Qt finds it through the session bus.
        self.atspi = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                      env=self.environment(), stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
        self.addCleanup(self.atspi.wait, 30)
        self.addCleanup(self.atspi.terminate)
        e2e.wait_for(lambda: e2e.gdbus_call(self.environment(), "org.freedesktop.DBus",
                                            "/org/freedesktop/DBus",
                                            "org.freedesktop.DBus.NameHasOwner", "org.a11y.Bus")[0],
                     what="the accessibility bus")
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address  # for pyatspi in this process

    def environment(self):
        env = super().environment()
        env.pop("DISPLAY", None)
        # weston's headless back end has no seat (no wl_seat: no keyboard, no pointer), and Qt
        # 6.4's own Wayland input method takes the seat as given: a text field that draws its
        # cursor crashes in QWaylandInputDevice::textInput(). Every desktop session has a seat;
        # here the compose input method (a desktop without an input method framework) stands in.
        env.update(QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY=self.session.socket,
                   XDG_RUNTIME_DIR=self.session.runtime, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_IM_MODULE="compose")
        return env

    def application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        return next((app for app in children(desktop) if app.name == "GlenLantern"), None)

    def window(self, title, timeout=60):
        def top_level():
            app = self.application()
            return app and next((node for node in children(app) if node.name == title
                                 and node.getRoleName() in ("frame", "dialog", "alert")), None)
        return e2e.wait_for(top_level, timeout, what=f"the window '{title}'")

    def menu(self, *path, opens_modal=False):
        node = self.window(e2e.MAIN_TITLE)
        for name in path:
            node = e2e.wait_for(lambda: find(node, "menu item", name), what=f"menu item {name}")
        press(node, opens_modal=opens_modal)

    def test_search_windows_tray_and_closing(self):
        server = e2e.RecordingServer()
        self.addCleanup(server.close)
        self.write("Default.gls",
                   f"Local=http://127.0.0.1:{server.port}/search?q=|s|\r\n".encode())
        self.write("Default.glt", b"one\r\n")
        self.process = subprocess.Popen([e2e.PROGRAM], cwd=self.folder, env=self.environment(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        main = self.window(e2e.MAIN_TITLE)

        # A term selected, Go searches it in the pane; a later start hands its term over.
        press(find(find(main, "list", "Search terms"), "list item", "one"), "Toggle")
        self.menu("Tools", "Go")
        e2e.wait_for(lambda: "/search?q=one" in server.requests(), timeout=60,
                     what=lambda: f"the search for one in {server.requests()}")
        self.assertEqual(self.run_program("blue sky").returncode, 0)
        e2e.wait_for(lambda: "/search?q=blue+sky" in server.raw_requests(), timeout=60,
                     what=lambda: f"the search for blue sky in {server.raw_requests()}")

        self.menu("Tools", "Quick Launcher")
        self.window("Quick Launch")
        self.menu("Tools", "New NotePad")
        self.window("Text Document 1")

        # No notification area on this desktop: the program says so and stays.
        self.menu("File", "Send to Tray", opens_modal=True)
        e2e.wait_for(lambda: any("no notification area" in t for t in texts(self.application())),
                     what="the notice that there is no tray")
        press(find(self.application(), "push button", "OK"))
        self.assertTrue(self.window(e2e.MAIN_TITLE).getState().contains(pyatspi.STATE_SHOWING))

        # An added term leaves the list unsaved: Exit asks, Yes saves it and ends.
        self.menu("Terms", "Add Terms", opens_modal=True)
        dialog = self.window("Add New Term")
        field = find(dialog, "text", "Enter Term:")
        field.queryEditableText().setTextContents("two")
        press(find(dialog, "push button", "OK"), opens_modal=True)
        time.sleep(0.5)
        press(find(self.window("Add New Term"), "push button", "Cancel"))
        self.menu("File", "Exit", opens_modal=True)
        question = self.window("Confirm")
        press(find(question, "push button", "Yes"))
        self.assertEqual(self.wait_exit(), 0)
        self.assertEqual(self.read("Default.glt"), b"one\r\ntwo\r\n")


if __name__ == "__main__":
    unittest.main()
