# SPDX-License-Identifier: GPL-3.0-or-later
"""A SOCKS5 proxy (RFC 1928, CONNECT, no authentication) on 127.0.0.1 for the tests. It alone
knows the test's sites: a host name of `routes` goes to its address; everything else, and any
request that names an address rather than a host (a client that resolved the name itself), is
refused. It logs every target it was asked for, as it came: ("name", host, port) or
("address", text, port)."""

import ipaddress
import socket
import socketserver
import struct
import threading


class Socks5Proxy:
    def __init__(self, routes):
        self.routes = dict(routes)  # host name -> (address, port)
        self.asked = []
        self._lock = threading.Lock()
        outer = self

        class Handler(socketserver.BaseRequestHandler):
            def handle(self):
                outer._serve(self.request)

        class Server(socketserver.ThreadingTCPServer):
            daemon_threads = True
            allow_reuse_address = True

        self.server = Server(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def names(self):
        with self._lock:
            return [host for kind, host, _ in self.asked if kind == "name"]

    def addresses(self):
        with self._lock:
            return [host for kind, host, _ in self.asked if kind == "address"]

    def close(self):
        self.server.shutdown()
        self.server.server_close()

    @staticmethod
    def _read(sock, size):
        data = b""
        while len(data) < size:
            chunk = sock.recv(size - len(data))
            if not chunk:
                raise ConnectionError("closed early")
            data += chunk
        return data

    def _target(self, sock):
        version, command, _, kind = self._read(sock, 4)
        if version != 5:
            raise ConnectionError("not SOCKS5")
        if kind == 3:
            host = self._read(sock, self._read(sock, 1)[0]).decode("ascii", "replace")
            name = True
        elif kind == 1:
            host, name = str(ipaddress.IPv4Address(self._read(sock, 4))), False
        elif kind == 4:
            host, name = str(ipaddress.IPv6Address(self._read(sock, 16))), False
        else:
            raise ConnectionError("unknown address type")
        port = struct.unpack("!H", self._read(sock, 2))[0]
        with self._lock:
            self.asked.append(("name" if name else "address", host, port))
        return command, (self.routes.get(host.lower()) if name else None)

    def _serve(self, sock):
        try:
            _, count = self._read(sock, 2)
            methods = self._read(sock, count)
            sock.sendall(b"\x05\x00" if 0 in methods else b"\x05\xff")
            command, route = self._target(sock)
            if command != 1 or route is None:
                sock.sendall(b"\x05\x04\x00\x01" + bytes(6))  # host unreachable
                return
            upstream = socket.create_connection(route, timeout=30)
        except (ConnectionError, OSError):
            return
        sock.sendall(b"\x05\x00\x00\x01" + bytes(6))
        relay = threading.Thread(target=self._pump, args=(upstream, sock), daemon=True)
        relay.start()
        self._pump(sock, upstream)
        relay.join(timeout=30)
        upstream.close()

    @staticmethod
    def _pump(source, sink):
        try:
            while True:
                data = source.recv(65536)
                if not data:
                    break
                sink.sendall(data)
        except OSError:
            pass
        finally:
            try:
                sink.shutdown(socket.SHUT_WR)
            except OSError:
                pass
