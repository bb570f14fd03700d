# SPDX-License-Identifier: GPL-3.0-or-later
"""A TCP link to a server on 127.0.0.1, as a team's network is: each byte delayed on its way
(another city, a VPN), and a link that can stop carrying anything and carry again. Stopped, it
closes nothing and refuses nothing: what is sent waits, as a packet lost and sent again would,
and goes on its way once the link carries again."""

import socket
import threading
import time
from collections import deque


class _Direction:
    """One way of one connection: bytes read at once, written once their delay is over and the
    link carries."""

    def __init__(self, link, source, target):
        self.link, self.source, self.target = link, source, target
        self.queue = deque()
        self.ready = threading.Condition()
        self.ended = False
        threading.Thread(target=self.read, daemon=True).start()
        threading.Thread(target=self.write, daemon=True).start()

    def read(self):
        while True:
            try:
                data = self.source.recv(65536)
            except OSError:
                data = b""
            with self.ready:
                self.queue.append((time.monotonic() + self.link.delay, data))
                self.ready.notify()
            if not data:
                return

    def write(self):
        while True:
            with self.ready:
                while not self.queue:
                    self.ready.wait()
                due, data = self.queue.popleft()
            time.sleep(max(0.0, due - time.monotonic()))
            self.link.carrying.wait()
            try:
                if not data:
                    self.target.shutdown(socket.SHUT_WR)
                    return
                self.target.sendall(data)
            except OSError:
                return


class Proxy:
    def __init__(self, target_port, delay=0.05):
        self.delay = delay
        self.carrying = threading.Event()
        self.carrying.set()
        self.target_port = target_port
        self.sockets = []
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(64)
        self.port = self.listener.getsockname()[1]
        threading.Thread(target=self.accept, daemon=True).start()

    def accept(self):
        while True:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            server = socket.create_connection(("127.0.0.1", self.target_port))
            self.sockets += [client, server]
            _Direction(self, client, server)
            _Direction(self, server, client)

    def drop(self):
        """Nothing gets through from now on, either way."""
        self.carrying.clear()

    def heal(self):
        self.carrying.set()

    def close(self):
        self.carrying.set()
        self.listener.close()
        for s in self.sockets:
            try:
                s.close()
            except OSError:
                pass
