#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""One name over 716 sites, each its own host, each answering after 500 ms: the result matrix
without a window (`glenlantern --matrix --pause 0`, its default limit of loads at once) beside a
plain asyncio client with 64 connections at once, on the same servers in the same run. Each site
is a host of its own as on the web: an address of its own in 127.0.0.0/8 (127.1.x.y), all served
by one asyncio server listening on each of them, so that the matrix's politeness per host (two at
once) holds for each site alone.

Then what a sweep costs in memory when the sites misbehave: 64 sites sending bodies without end,
64 sending header lines without end; the peak resident memory (GNU time) of the whole job."""

import asyncio
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time

SITES = 716
DELAY = 0.5
CONNECTIONS = 64
GNU_TIME = "/usr/bin/time"


def address(i):
    return f"127.1.{i // 200}.{i % 200 + 1}"


def free_port():
    with socket.socket() as s:
        s.bind((address(0), 0))
        return s.getsockname()[1]


async def answer(reader, writer, kind):
    try:
        await reader.readuntil(b"\r\n\r\n")
        host = writer.get_extra_info("sockname")[0]
        if kind == "slow":
            await asyncio.sleep(DELAY)
            found = int(host.rsplit(".", 1)[1]) % 2 == 0
            body = b"<p>Profile</p>" if found else b"<p>No such user</p>"
            writer.write(b"HTTP/1.1 " + (b"200 OK" if found else b"404 Not Found")
                         + b"\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: "
                         + str(len(body)).encode() + b"\r\n\r\n" + body)
        else:
            head, piece = {
                "body": (b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n",
                         b"10000\r\n" + b"a" * 65536 + b"\r\n"),
                "headers": (b"HTTP/1.1 200 OK\r\n", b"X-Flood: " + b"a" * 65000 + b"\r\n"),
            }[kind]
            writer.write(head)
            for _ in range(1024):  # at most 64 MB a connection, until the client goes
                writer.write(piece)
                await writer.drain()
        await writer.drain()
    except (ConnectionError, asyncio.IncompleteReadError):
        pass
    finally:
        writer.close()


class Servers:
    """One asyncio server on its own thread, listening on `count` addresses."""

    def __init__(self, count, kind):
        self.port = free_port()
        self.loop = asyncio.new_event_loop()
        ready = threading.Event()

        async def start():
            self.server = await asyncio.start_server(
                lambda r, w: answer(r, w, kind), [address(i) for i in range(count)], self.port,
                backlog=1024)
            ready.set()

        threading.Thread(target=lambda: (self.loop.run_until_complete(start()),
                                         self.loop.run_forever()), daemon=True).start()
        ready.wait()

    def close(self):
        self.loop.call_soon_threadsafe(self.server.close)
        self.loop.call_soon_threadsafe(self.loop.stop)


async def client_sweep(port):
    """The peer: GET each site with 64 at once, read each answer to its end."""
    limit = asyncio.Semaphore(CONNECTIONS)

    async def one(i):
        async with limit:
            reader, writer = await asyncio.open_connection(address(i), port)
            writer.write(f"GET /u/ada HTTP/1.1\r\nHost: {address(i)}:{port}\r\n"
                         "Connection: close\r\n\r\n".encode())
            status = (await reader.readline()).split()[1]
            await reader.read()
            writer.close()
            return status

    return await asyncio.gather(*(one(i) for i in range(SITES)))


def write_lists(folder, port, count):
    with open(os.path.join(folder, "s.gls"), "w") as f:
        f.write("".join(f"S{i}=http://{address(i)}:{port}/u/|s|\tfound=status:200"
                        "\tmissing=status:404\n" for i in range(count)))
    with open(os.path.join(folder, "t.glt"), "w") as f:
        f.write("ada\n")


def matrix(program, folder):
    """The wall time, the peak resident memory in MiB and the CSV's rows."""
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    with tempfile.NamedTemporaryFile("r") as out:
        start = time.perf_counter()
        subprocess.run([GNU_TIME, "-f", "%M", "-o", out.name, program, "--matrix", "--services",
                        "s.gls", "--terms", "t.glt", "--pause", "0", "--out", "out.csv"],
                       cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        seconds = time.perf_counter() - start
        rss = int(out.read().split()[-1]) / 1024
    with open(os.path.join(folder, "out.csv")) as f:
        rows = f.read().splitlines()[1:]
    return seconds, rss, rows


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    program = os.path.abspath(os.path.join(build, "glenlantern"))
    with tempfile.TemporaryDirectory() as folder:
        servers = Servers(SITES, "slow")
        try:
            start = time.perf_counter()
            statuses = asyncio.run(client_sweep(servers.port))
            peer = time.perf_counter() - start
            write_lists(folder, servers.port, SITES)
            seconds, rss, rows = matrix(program, folder)
        finally:
            servers.close()
        if len(statuses) != SITES or len(rows) != SITES \
                or sum(",found," in r for r in rows) != sum(s == b"200" for s in statuses):
            raise SystemExit("the matrix's results are not what the servers answered")
        print(f"one name over {SITES} sites, each its own host answering after {DELAY * 1000:.0f} ms")
        print(f"{'':>34} {'time s':>7} {'peak RSS MiB':>13}")
        print(f"{'asyncio, 64 connections':>34} {peer:7.2f}")
        print(f"{'glenlantern --matrix':>34} {seconds:7.2f} {rss:13.1f}   ({seconds / peer:.2f}x)")

        print("\nsites that misbehave, 64 of them at once")
        for kind, name in (("body", "bodies without end"), ("headers", "header lines without end")):
            servers = Servers(CONNECTIONS, kind)
            try:
                write_lists(folder, servers.port, CONNECTIONS)
                seconds, rss, rows = matrix(program, folder)
            finally:
                servers.close()
            errors = sum(",error," in r for r in rows)
            print(f"{name:>34} {seconds:7.2f} {rss:13.1f}   ({errors} of {len(rows)} in error)")


if __name__ == "__main__":
    main()
