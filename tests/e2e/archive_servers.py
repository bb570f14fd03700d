# SPDX-License-Identifier: GPL-3.0-or-later
"""Servers the archive tests start on 127.0.0.1: a static server of files (with byte ranges, as a
player reads a WACZ), and a time-stamp authority made of openssl's own `ts -reply` with a
throw-away CA whose time-stamping certificate it issued."""

import http.server
import os
import subprocess
import threading


class _Server:
    def __init__(self, handler):
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.port = self.httpd.server_address[1]
        self.base = f"http://127.0.0.1:{self.port}"
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class StaticServer(_Server):
    """Serves the files of a folder; a Range request gets its bytes (206)."""

    TYPES = {".html": "text/html", ".js": "application/javascript", ".wacz": "application/wacz+zip",
             ".gz": "application/gzip"}

    def __init__(self, folder):
        class Handler(http.server.BaseHTTPRequestHandler):
            def do_HEAD(self):  # noqa: N802 (the standard library's name)
                self.answer(head=True)

            def do_GET(self):  # noqa: N802
                self.answer(head=False)

            def answer(self, head):
                path = os.path.join(folder, self.path.split("?", 1)[0].lstrip("/"))
                if not os.path.isfile(path):
                    self.send_error(404)
                    return
                with open(path, "rb") as f:
                    body = f.read()
                status, first, last = 200, 0, len(body) - 1
                wanted = self.headers.get("Range", "")
                if wanted.startswith("bytes="):
                    start, _, end = wanted[6:].partition("-")
                    first = int(start) if start else max(0, len(body) - int(end))
                    last = min(int(end), len(body) - 1) if start and end else len(body) - 1
                    status = 206
                self.send_response(status)
                kind = self.TYPES.get(os.path.splitext(path)[1], "application/octet-stream")
                self.send_header("Content-Type", kind)
                self.send_header("Accept-Ranges", "bytes")
                if status == 206:
                    self.send_header("Content-Range", f"bytes {first}-{last}/{len(body)}")
                self.send_header("Content-Length", str(last - first + 1))
                self.end_headers()
                if not head:
                    self.wfile.write(body[first:last + 1])

            TYPES = StaticServer.TYPES

            def log_message(self, *args):
                pass

        super().__init__(Handler)


class PageServer(_Server):
    """Serves what `answer(path)` gives: a type and the bytes."""

    def __init__(self, answer):
        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):  # noqa: N802
                kind, body = answer(self.path)
                self.send_response(200)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        super().__init__(Handler)


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, capture_output=True, timeout=60)


class TimestampAuthority(_Server):
    """An RFC 3161 authority: each POSTed query answered by `openssl ts -reply`."""

    def __init__(self, folder):
        os.makedirs(folder, exist_ok=True)
        key = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes"]
        openssl("req", "-x509", *key, "-keyout", "ca.key", "-out", "ca.pem", "-days", "2",
                "-subj", "/CN=Throw-away CA", cwd=folder)
        with open(os.path.join(folder, "tsa.ext"), "w") as f:
            f.write("basicConstraints = CA:FALSE\nkeyUsage = critical, digitalSignature\n"
                    "extendedKeyUsage = critical, timeStamping\n")
        openssl("req", *key, "-keyout", "tsa.key", "-out", "tsa.csr", "-subj", "/CN=Local TSA", cwd=folder)
        openssl("x509", "-req", "-in", "tsa.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
                "-days", "2", "-extfile", "tsa.ext", "-out", "tsa.pem", cwd=folder)
        with open(os.path.join(folder, "serial"), "w") as f:
            f.write("01\n")
        with open(os.path.join(folder, "tsa.cnf"), "w") as f:
            f.write(f"[tsa]\ndefault_tsa = local\n[local]\nserial = {folder}/serial\n"
                    f"signer_cert = {folder}/tsa.pem\nsigner_key = {folder}/tsa.key\n"
                    f"certs = {folder}/ca.pem\nsigner_digest = sha256\n"
                    "default_policy = 1.3.6.1.4.1.55555.1\ndigests = sha256\naccuracy = secs:1\n"
                    "tsa_name = yes\ness_cert_id_alg = sha256\n")
        self.ca = os.path.join(folder, "ca.pem")
        lock = threading.Lock()

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):  # noqa: N802
                query = self.rfile.read(int(self.headers.get("Content-Length", "0")))
                with lock:
                    with open(os.path.join(folder, "query.tsq"), "wb") as f:
                        f.write(query)
                    openssl("ts", "-reply", "-config", "tsa.cnf", "-queryfile", "query.tsq",
                            "-out", "reply.tsr", cwd=folder)
                    with open(os.path.join(folder, "reply.tsr"), "rb") as f:
                        body = f.read()
                self.send_response(200)
                self.send_header("Content-Type", "application/timestamp-reply")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        super().__init__(Handler)
