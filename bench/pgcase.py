#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A case shared by two writers: each appends 10,000 searches at once into one case on a
PostgreSQL 15 of its own (tests/e2e/pgserver.py: 127.0.0.1, fsync off as in the tests), then
--verify-case; beside it the same 2 x 10,000 into a case folder, where the writers take turns
(a folder is written by one program at a time). Records a second over the wall time."""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import pgserver  # noqa: E402

COUNT = 10_000


def run(build, location, env, together):
    appender = os.path.join(build, "bench", "case_appender")
    start = time.monotonic()
    if together:
        writers = [subprocess.Popen([appender, location, str(COUNT), name], env=env, stdout=subprocess.PIPE)
                   for name in ("ada", "bob")]
        for writer in writers:
            writer.communicate()
            assert writer.returncode == 0
    else:
        for name in ("ada", "bob"):
            subprocess.run([appender, location, str(COUNT), name], env=env, check=True, stdout=subprocess.PIPE)
    wall = time.monotonic() - start
    start = time.monotonic()
    verified = subprocess.run([os.path.join(build, "glenlantern"), "--verify-case", location], env=env,
                              capture_output=True, text=True)
    verify = time.monotonic() - start
    holds = verified.returncode == 0 and f"{2 * COUNT} records" in verified.stdout
    return wall, verify, holds


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    if not pgserver.available():
        print("PostgreSQL 15 is not installed: the server case is not measured")
        return
    pg = pgserver.PgServer()
    home = tempfile.mkdtemp(prefix="gl-bench-")
    try:
        pg.write_pgpass(home)
        env = dict(os.environ, HOME=home, XDG_CACHE_HOME=os.path.join(home, ".cache"))
        print(f"{'case':<32}{'wall s':>9}{'records/s':>11}{'verify s':>10}  chain")
        for label, location, together in [("server, 2 writers at once", pg.address("bench"), True),
                                           ("folder, 2 writers in turn", os.path.join(home, "folder"), False)]:
            wall, verify, holds = run(build, location, env, together)
            print(f"{label:<32}{wall:>9.2f}{2 * COUNT / wall:>11.0f}{verify:>10.2f}  "
                  f"{'verified' if holds else 'BROKEN'}")
    finally:
        pg.close()
        subprocess.run(["rm", "-rf", home])


if __name__ == "__main__":
    main()
