# SPDX-License-Identifier: GPL-3.0-or-later
"""A PostgreSQL 15 of Debian's packages for one test: its own data folder made by initdb as an
unprivileged user (the `postgres` system user when run as root), listening on 127.0.0.1 at a
free port, a role and a database for the program, stopped at the end."""

import os
import pwd
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

BIN = "/usr/lib/postgresql/15/bin"


def available():
    return all(os.access(os.path.join(BIN, name), os.X_OK) for name in ("initdb", "postgres", "psql"))


class PgServer:
    def __init__(self, user="analyst", password="s3cret:pw", database="team"):
        # A folder of its own: the server's user must reach it, which a test's private folder
        # does not let it.
        self.folder = tempfile.mkdtemp(prefix="gl-pg-")
        folder = self.folder
        self.data = os.path.join(folder, "data")
        self.user, self.password, self.database = user, password, database
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            self.port = s.getsockname()[1]
        self.as_owner = []
        os.chmod(folder, 0o755)
        superpw = os.path.join(folder, "superpw")
        with open(superpw, "w") as f:
            f.write("super\n")
        if os.geteuid() == 0:
            owner = pwd.getpwnam("postgres")
            os.chown(folder, owner.pw_uid, owner.pw_gid)
            os.chown(superpw, owner.pw_uid, owner.pw_gid)
            # setpriv runs the server itself, not a child of its own: the signal that stops it
            # reaches it.
            self.as_owner = ["setpriv", f"--reuid={owner.pw_uid}", f"--regid={owner.pw_gid}",
                             "--init-groups", "--"]
        subprocess.run(self.as_owner + [f"{BIN}/initdb", "-D", self.data, "-U", "glsuper", "-E", "UTF8",
                                        "--auth=scram-sha-256", f"--pwfile={superpw}", "--no-sync"],
                       check=True, capture_output=True, cwd="/")
        self.process = None
        self.start()
        self.psql(f"CREATE ROLE {user} LOGIN PASSWORD '{password}'")
        self.psql(f"CREATE DATABASE {database} OWNER {user}")

    def start(self):
        self.process = subprocess.Popen(
            self.as_owner + [f"{BIN}/postgres", "-D", self.data, "-p", str(self.port), "-k", self.folder,
                             "-c", "listen_addresses=127.0.0.1", "-c", "fsync=off"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd="/")
        deadline = time.time() + 60
        while time.time() < deadline:
            try:
                self.psql("SELECT 1")
                return
            except subprocess.CalledProcessError:
                time.sleep(0.1)
        raise RuntimeError("PostgreSQL did not start")

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.send_signal(signal.SIGINT)  # a fast shutdown: clients are cut off
            self.process.wait(timeout=60)

    def psql(self, sql, database="postgres"):
        env = dict(os.environ, PGPASSWORD="super")
        return subprocess.run([f"{BIN}/psql", "-h", "127.0.0.1", "-p", str(self.port), "-U", "glsuper",
                               "-d", database, "-At", "-c", sql],
                              check=True, capture_output=True, text=True, env=env).stdout

    def address(self, case):
        return f"postgresql://{self.user}@127.0.0.1:{self.port}/{self.database}?case={case}"

    def write_pgpass(self, home):
        path = os.path.join(home, ".pgpass")
        with open(path, "w") as f:
            escaped = self.password.replace("\\", "\\\\").replace(":", "\\:")
            f.write(f"# the test's server\n127.0.0.1:{self.port}:{self.database}:{self.user}:{escaped}\n")
        os.chmod(path, 0o600)
        return path

    def close(self):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)


if __name__ == "__main__":
    # For tests in C++: starts a server, prints "PORT USER PASSWORD DATABASE" on one line and
    # stops it when standard input ends (the test ended, however it ended).
    if not available():
        print("unavailable", flush=True)
        sys.exit(0)
    server = PgServer()
    try:
        print(f"{server.port} {server.user} {server.password} {server.database}", flush=True)
        sys.stdin.read()
    finally:
        server.close()
