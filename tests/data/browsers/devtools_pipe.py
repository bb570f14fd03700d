# SPDX-License-Identifier: GPL-3.0-or-later
"""A minimal client of Chromium's DevTools protocol over --remote-debugging-pipe: the browser
reads commands from its file descriptor 3 and writes replies and events to 4, each message JSON
ended by a NUL byte. No WebSocket, nothing to install."""

import json
import os
import subprocess
import time


class DevToolsPipe:
    def __init__(self, command):
        to_browser_read, self.to_browser = os.pipe()
        self.from_browser, from_browser_write = os.pipe()
        # The child gets the two pipe ends as descriptors 3 and 4 (put there before the
        # descriptors not passed are closed, so 3 and 4 are the ones passed).
        def place_fds():
            os.dup2(to_browser_read, 3)
            os.dup2(from_browser_write, 4)
        self.process = subprocess.Popen(command + ["--remote-debugging-pipe"],
                                        preexec_fn=place_fds, pass_fds=(3, 4))
        os.close(to_browser_read)
        os.close(from_browser_write)
        self.buffer = b""
        self.next_id = 1
        self.events = []

    def _read_message(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.from_browser, 65536)
            if not chunk:
                raise RuntimeError("the browser closed its DevTools pipe")
            self.buffer += chunk
        message, _, self.buffer = self.buffer.partition(b"\0")
        return json.loads(message)

    def send(self, method, params=None, session=None):
        message_id = self.next_id
        self.next_id += 1
        message = {"id": message_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        while True:
            reply = self._read_message()
            if reply.get("id") == message_id:
                break
            self.events.append(reply)
        if "error" in reply:
            raise RuntimeError("%s failed: %s" % (method, reply["error"]))
        return reply.get("result", {})

    def evaluate(self, session, expression):
        result = self.send("Runtime.evaluate", {"expression": expression, "awaitPromise": True,
                                                "returnByValue": True}, session)
        if "exceptionDetails" in result:
            raise RuntimeError("script failed: %r" % result["exceptionDetails"])
        return result.get("result", {}).get("value")

    def open_page(self, url):
        target = self.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = self.send("Target.attachToTarget", {"targetId": target,
                                                      "flatten": True})["sessionId"]
        self.send("Page.enable", {}, session)
        self.send("Page.navigate", {"url": url, "transitionType": "typed"}, session)
        return target, session

    def close(self, timeout=60):
        try:
            self.send("Browser.close")
        except RuntimeError:
            pass
        try:
            self.process.wait(timeout=timeout)
        finally:
            if self.process.poll() is None:
                self.process.kill()
