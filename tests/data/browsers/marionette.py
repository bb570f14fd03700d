# SPDX-License-Identifier: GPL-3.0-or-later
"""A minimal Marionette client: just enough to run privileged script in a Firefox started with
--marionette --remote-allow-system-access. The protocol is JSON messages over TCP, each written
as its length in decimal, a colon and the message."""

import json
import socket
import time


class Marionette:
    def __init__(self, port, timeout=60):
        deadline = time.time() + timeout
        while True:
            try:
                self.sock = socket.create_connection(("127.0.0.1", port), timeout=timeout)
                break
            except OSError:
                if time.time() > deadline:
                    raise
                time.sleep(0.5)
        self.buffer = b""
        self.next_id = 1
        hello = self._receive()
        if hello.get("marionetteProtocol") != 3:
            raise RuntimeError("unexpected Marionette greeting: %r" % hello)

    def _receive(self):
        while b":" not in self.buffer:
            self._fill()
        length, _, rest = self.buffer.partition(b":")
        size = int(length)
        self.buffer = rest
        while len(self.buffer) < size:
            self._fill()
        message, self.buffer = self.buffer[:size], self.buffer[size:]
        return json.loads(message)

    def _fill(self):
        chunk = self.sock.recv(65536)
        if not chunk:
            raise RuntimeError("Marionette closed the connection")
        self.buffer += chunk

    def command(self, name, parameters=None):
        message_id = self.next_id
        self.next_id += 1
        data = json.dumps([0, message_id, name, parameters or {}]).encode()
        self.sock.sendall(str(len(data)).encode() + b":" + data)
        while True:
            reply = self._receive()
            if reply[0] == 1 and reply[1] == message_id:
                break
        if reply[2]:
            raise RuntimeError("%s failed: %s" % (name, reply[2]))
        return reply[3]

    def start_chrome_session(self):
        self.command("WebDriver:NewSession", {"capabilities": {}})
        self.command("Marionette:SetContext", {"value": "chrome"})

    def run_async(self, script, args=None, timeout_ms=60000):
        """Runs script in the browser's privileged scope; the script ends by calling
        resolve(value), which is the last of its arguments; args come first."""
        self.command("WebDriver:SetTimeouts", {"script": timeout_ms})
        wrapped = ("const resolve = arguments[arguments.length - 1];\n"
                   "(async () => {\n" + script + "\n})().then(resolve, "
                   "e => resolve({error: String(e) + '\\n' + e.stack}));")
        result = self.command("WebDriver:ExecuteAsyncScript", {"script": wrapped, "args": args or []})
        value = result.get("value") if isinstance(result, dict) else result
        if isinstance(value, dict) and "error" in value:
            raise RuntimeError(value["error"])
        return value

    def quit(self):
        try:
            self.command("Marionette:Quit", {"flags": ["eAttemptQuit"]})
        except (RuntimeError, OSError):
            pass
