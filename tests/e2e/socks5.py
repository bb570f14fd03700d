# SPDX-License-Identifier: GPL-3.0-or-later
"""A SOCKS5 proxy (RFC 1928, CONNECT, no authentication) on 127.0.0.1 for the tests. It alone
knows the test's sites: a host name of `routes` goes to its address; everything else, and any
request that names an address rather than a host (a client that resolved the name itself), is
refused. It logs every target it was asked for: names() and addresses()."""

import ipaddress
import socket
import socketserver
import threading


def read(sock, size):
    data = b""
    while len(data) < size:
        chunk = sock.recv(size - len(data))
        if not chunk:
            raise ConnectionError("closed early")
        data += chunk
    return data


def pump(source, sink):
    try:
        while data := source.recv(65536):
            sink.sendall(data)
    except OSError:
        pass
    try:
        sink.shutdown(socket.SHUT_WR)
    except OSError:
        pass


class Socks5Proxy:
    def __init__(self, routes):
        self.routes = dict(routes)  # host name -> (address, port)
        self.asked = []  # ("name" or "address", host) as they came
        self._lock = threading.Lock()
        outer = self

        class Handler(socketserver.BaseRequestHandler):
            def handle(self):
                outer._serve(self.request)

        class Server(socketserver.ThreadingTCPServer):
            daemon_threads = True

        self.server = Server(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def names(self):
        with self._lock:
            return [host for kind, host in self.asked if kind == "name"]

    def addresses(self):
        with self._lock:
            return [host for kind, host in self.asked if kind == "address"]

    def close(self):
        self.server.shutdown()
        self.server.server_close()

    def _target(self, sock):
        version, command, _, kind = read(sock, 4)
        if kind == 3:
            host = read(sock, read(sock, 1)[0]).decode("ascii", "replace")
        elif kind in (1, 4):
            host = str(ipaddress.ip_address(read(sock, 4 if kind == 1 else 16)))
        else:
            raise ConnectionError("unknown address type")
        read(sock, 2)  # the port: the route says where the site is
        with self._lock:
            self.asked.append(("name" if kind == 3 else "address", host))
        route = self.routes.get(host.lower()) if kind == 3 else None
        return route if version == 5 and command == 1 else None

    def _serve(self, sock):
        try:
            read(sock, read(sock, 2)[1])  # the methods offered: none is asked for
            sock.sendall(b"\x05\x00")
            route = self._target(sock)
            if route is None:
                sock.sendall(b"\x05\x04\x00\x01" + bytes(6))  # host unreachable
                return
            upstream = socket.create_connection(route, timeout=30)
        except (ConnectionError, OSError):
            return
        sock.sendall(b"\x05\x00\x00\x01" + bytes(6))
        back = threading.Thread(target=pump, args=(upstream, sock), daemon=True)
        back.start()
        pump(sock, upstream)
        back.join(timeout=30)
        upstream.close()
