# SPDX-License-Identifier: GPL-3.0-or-later
"""Every window as a screen reader meets it over the accessibility bus (AT-SPI), each opened
from the keyboard alone: every control the keyboard reaches has a name of its own, a window is
a window, and nothing that is no window of the program's is listed as one."""

import os
import subprocess
import unittest

import pyatspi

import e2e
from test_wayland import children, find

SERVICES = ("News=http://127.0.0.1:9/n?q=|s|\tgroup=Papers\tfound=status:200\tx-seen=1\r\n"
            "Maps=http://127.0.0.1:9/m?q=|s|\r\n").encode() + b"Caf\xe9=http://127.0.0.1:9/c?q=|s|\r\n"

# Roles whose name is what the row or cell holds, which may be empty; the list or table
# around them carries the name.
DATA_ROLES = {"list item", "table cell", "tree item"}


def unnamed_controls(node, path=""):
    """The controls under the node that a keyboard reaches and a screen reader cannot name: no
    letter in the name, or a combo box named by its current item alone."""
    found = []
    state = node.getState()
    where = f"{path}/{node.getRoleName()}"
    reachable = state.contains(pyatspi.STATE_FOCUSABLE) and state.contains(pyatspi.STATE_SHOWING)
    if reachable and node.getRoleName() not in DATA_ROLES:
        if not any(c.isalpha() for c in node.name or ""):
            found.append(f"{where} {node.name!r}")
        elif node.getRoleName() == "combo box" and node.name in item_names(node):
            found.append(f"{where} named by its item {node.name!r}")
    if state.contains(pyatspi.STATE_SHOWING) or path == "":
        for child in children(node):
            found += unnamed_controls(child, f"{where}[{node.name}]")
    return found


def item_names(combo):
    return [item.name for child in children(combo) if child.getRoleName() == "list"
            for item in children(child)]


class AccessibilityTest(e2e.ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.start_bus()
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
        self.checked = []

    def environment(self):
        return dict(super().environment(), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")

    def application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        return next((app for app in children(desktop) if app.name == "GlenLantern"), None)

    def window(self, title, timeout=60):
        def top_level():
            app = self.application()
            # A title may go on after a colon (the result matrix names its group and size).
            return app and next((node for node in children(app)
                                 if node.name == title or node.name.startswith(title + ": ")), None)
        return e2e.wait_for(top_level, timeout, what=f"the window '{title}' over AT-SPI")

    def check(self, title, close=None):
        """Walks the window; `close` is the key that closes it again (a modal dialog)."""
        window = self.window(title)
        self.assertIn(window.getRoleName(), ("frame", "dialog", "alert", "window"), title)
        # The window's controls come up as the window is shown: the walk waits for them.
        e2e.wait_for(lambda: children(window), what=f"the controls of '{title}'")
        unnamed = unnamed_controls(window)
        self.assertEqual(unnamed, [], f"unnamed controls in '{title}'")
        self.checked.append(title)
        if close:
            e2e.keys(title, close)
            e2e.wait_for(lambda: not e2e.window_visible(title), what=f"'{title}' to close")
        return window

    def test_every_window_names_its_controls(self):
        self.write("Default.gls", SERVICES)
        self.write("Default.glt", b"alice\r\nbob\r\n")
        main = self.start()
        window = self.check(main)

        # A service reads as its name, its address as the description, never the raw line.
        services = find(window, "list", "Search services")
        self.assertEqual([(item.name, item.description) for item in children(services)],
                         [("News", "http://127.0.0.1:9/n?q=|s|"),
                          ("Maps", "http://127.0.0.1:9/m?q=|s|"),
                          ("Caf\u00e9", "http://127.0.0.1:9/c?q=|s|")])

        # The windows that stay open.
        e2e.keys(main, "ctrl+c")
        self.check("Main Text Document")
        e2e.keys(main, "ctrl+q")
        self.check("Quick Launch", close="Escape")
        e2e.keys(main, "alt+o", "n")
        self.check("Text Document 1")

        # The dialogs of the Services menu, on the first service.
        e2e.keys(main, "Down", "ctrl+alt+e")
        self.check("Edit Service", close="Escape")
        e2e.keys(main, "alt+s", "g")
        self.check("Edit Groups", close="Escape")
        e2e.keys(main, "ctrl+a")
        self.check("Add New Term", close="Escape")
        e2e.keys(main, "alt+h", "a")
        self.check("About Glen Lantern", close="Escape")
        e2e.keys(main, "alt+s", "i")
        self.check("Import Services", close="Escape")
        e2e.keys(main, "alt+s", "x")
        self.check("Export Services", close="Escape")

        # A case, made in the folder dialog; its log; Open Case.
        os.mkdir(os.path.join(self.folder, "case one"))
        e2e.keys(main, "alt+f", "c")
        self.check("New Case")
        e2e.type_text("New Case", os.path.join(self.folder, "case one"))
        e2e.keys("New Case", "Return")
        main = "Glen Lantern - case case one"
        e2e.find_window(main)
        e2e.keys(main, "alt+a", "l")
        self.check("Case Log - case one")
        e2e.keys(main, "alt+f", "o")
        self.check("Open Case")
        e2e.keys("Open Case", "alt+s")  # the server's tab, its TLS choice among its fields
        e2e.wait_for(lambda: find(self.window("Open Case"), "combo box", "TLS encryption:"),
                     what="the TLS choice by its label")
        self.check("Open Case", close="Escape")
        e2e.keys(main, "alt+a", "t")
        self.check("Case Settings - case one", close="Escape")
        e2e.keys(main, "alt+a", "s")  # Stamp Now asks for the authority no setting names
        self.check("Stamp Now - case one", close="Escape")

        # The result matrix over the services and terms on view.
        e2e.keys(main, "alt+o", "m")
        self.check("Result Matrix")

        # Nothing the program does not show is listed as its window.
        tops = [(node.getRoleName(), node.name) for node in children(self.application())]
        self.assertFalse([top for top in tops if top[0] == "filler" or top[1] == "Offscreen"],
                         tops)
        self.assertEqual(len(self.checked), 17)


if __name__ == "__main__":
    unittest.main()
