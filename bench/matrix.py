#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The result matrix without a window (`glenlantern --matrix`) against local servers whose pages
answer after 100 ms: one server a service, each on an address of its own (127.0.0.N), so that
every service is a host of its own as on the web. At three sizes: the wall time, the peak
resident memory (GNU time) and the most connections the program held open to one host at once
(the servers count them; one server a host, its services told apart by their paths).
`--pause 0`: the politeness pause would otherwise be most of the time;
the limits of two at once to a host and 64 in all stay.

Then the window's matrix (Tools > Result Matrix, offscreen) of the same sizes against the same
servers: the time from its start until its last cell is filled."""

import http.server
import os
import subprocess
import sys
import tempfile
import threading
import time

SIZES = [(10, 5), (30, 20), (100, 50)]  # terms x services, one host a service
ONE_HOST = (30, 20)  # and every service on one host: the limit of two at once there
GNU_TIME = "/usr/bin/time"


class CountingServer(http.server.ThreadingHTTPServer):
    """Counts the connections open at once, across all servers of one host address."""

    daemon_threads = True
    counts = {}
    lock = threading.Lock()

    def get_request(self):
        request = super().get_request()
        host = self.server_address[0]
        with self.lock:
            now, most = self.counts.get(host, (0, 0))
            self.counts[host] = (now + 1, max(most, now + 1))
        return request

    def shutdown_request(self, request):
        host = self.server_address[0]
        with self.lock:
            now, most = self.counts[host]
            self.counts[host] = (now - 1, most)
        super().shutdown_request(request)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # Headers and body in one write, sent at once: otherwise Nagle's algorithm and the client's
    # delayed acknowledgement hold every answer on a kept-alive connection back by 40 ms.
    wbufsize = -1
    disable_nagle_algorithm = True

    def do_GET(self):  # noqa: N802
        time.sleep(0.1)
        number = int(self.path.rsplit("t", 1)[-1] or 0)
        found = number % 2 == 0
        body = b"<p>Profile</p>" if found else b"<p>No such user</p>"
        self.send_response(200 if found else 404)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def window_run(build, terms, services, folder, hosts):
    """The window's matrix: the milliseconds until its last cell, as it prints them."""
    servers = start_servers(hosts)
    write_lists(folder, terms, services, hosts, servers)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    try:
        out = subprocess.run([os.path.join(build, "bench", "matrix_window"), "s.gls", "t.glt"],
                             cwd=folder, env=env, capture_output=True, text=True, check=True)
    finally:
        stop_servers(servers)
    ms, cells = (int(v) for v in out.stdout.split())
    if cells != terms * services:
        raise SystemExit("the window's matrix did not fill every cell")
    return ms / 1000


def start_servers(hosts):
    servers = []
    for h in range(hosts):
        server = CountingServer((f"127.0.0.{h + 1}", 0), Handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        servers.append(server)
    return servers


def stop_servers(servers):
    for server in servers:
        server.shutdown()
        server.server_close()


def write_lists(folder, terms, services, hosts, servers):
    lines = [f"S{i}=http://127.0.0.{i % hosts + 1}:{servers[i % hosts].server_address[1]}"
             f"/s{i}/u/|s|\tfound=status:200\tmissing=status:404" for i in range(services)]
    with open(os.path.join(folder, "s.gls"), "w") as f:
        f.write("\n".join(lines) + "\n")
    with open(os.path.join(folder, "t.glt"), "w") as f:
        f.write("\n".join(f"t{n}" for n in range(terms)) + "\n")


def run(program, terms, services, folder, hosts):
    servers = start_servers(hosts)
    write_lists(folder, terms, services, hosts, servers)
    CountingServer.counts.clear()
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    command = [program, "--matrix", "--services", "s.gls", "--terms", "t.glt", "--pause", "0",
               "--out", "out.csv"]
    with tempfile.NamedTemporaryFile("r") as out:
        start = time.perf_counter()
        status = subprocess.run([GNU_TIME, "-f", "%M", "-o", out.name, *command], cwd=folder,
                                env=env, stdout=subprocess.DEVNULL).returncode
        seconds = time.perf_counter() - start
        rss = int(out.read().split()[-1]) / 1024
    stop_servers(servers)
    if status != 0:
        raise SystemExit(f"glenlantern --matrix: exit status {status}")
    with open(os.path.join(folder, "out.csv")) as f:
        rows = f.read().splitlines()[1:]
    if len(rows) != terms * services or sum(",found," in r for r in rows) != \
            services * ((terms + 1) // 2):
        raise SystemExit("the matrix's results are not what the servers answered")
    most = max(most for _, most in CountingServer.counts.values())
    return seconds, rss, most


def main():
    """matrix.py [BUILD] [window]: with "window", the window's matrix alone."""
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    program = os.path.abspath(os.path.join(build, "glenlantern"))
    with tempfile.TemporaryDirectory() as folder:
        if "window" not in sys.argv[2:]:
            headless(program, folder)
        print("\nthe window's Result Matrix (offscreen), until its last cell")
        print(f"{'terms x services':>22} {'cells':>6} {'time s':>7} {'cells/s':>8}")
        for terms, services in SIZES:
            seconds = window_run(os.path.abspath(build), terms, services, folder, services)
            cells = terms * services
            name = f"{terms} x {services}"
            print(f"{name:>22} {cells:6} {seconds:7.2f} {cells / seconds:8.1f}")


def headless(program, folder):
    print("glenlantern --matrix, pages answering after 100 ms")
    print(f"{'terms x services':>22} {'cells':>6} {'time s':>7} {'cells/s':>8} "
          f"{'peak RSS MiB':>13} {'most conn. to a host':>21}")
    runs = [(terms, services, services) for terms, services in SIZES] + [(*ONE_HOST, 1)]
    for terms, services, hosts in runs:
        seconds, rss, most = run(program, terms, services, folder, hosts)
        cells = terms * services
        name = f"{terms} x {services}" + (", one host" if hosts == 1 else "")
        print(f"{name:>22} {cells:6} {seconds:7.2f} {cells / seconds:8.1f} "
              f"{rss:13.1f} {most:21}")


if __name__ == "__main__":
    main()
