#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A case shared by two writers: each appends 10,000 searches at once into one case on a
PostgreSQL 15 of its own (tests/e2e/pgserver.py: 127.0.0.1, fsync off as in the tests), then
--verify-case; beside it the same 2 x 10,000 into a case folder, where the writers take turns
(a folder is written by one program at a time). Records a second over the wall time.

Then the team's link (tests/e2e/tcpproxy.py: 50 ms each way): the window's walk (walk.py, a step
a quarter second after each page showed) with no case, with the server case behind the link, and
with the link dropping every packet from the first page on; and 10,000 searches recorded while
the link drops everything, from the moment it carries again until the server holds them all.

    pgcase.py [build folder] [writers|link]"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import pgserver  # noqa: E402
import tcpproxy  # noqa: E402

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


def writers(build, pg, home):
    env = dict(os.environ, HOME=home, XDG_CACHE_HOME=os.path.join(home, ".cache"))
    print(f"{'case':<32}{'wall s':>9}{'records/s':>11}{'verify s':>10}  chain")
    for label, location, together in [("server, 2 writers at once", pg.address("bench"), True),
                                       ("folder, 2 writers in turn", os.path.join(home, "folder"), False)]:
        wall, verify, holds = run(build, location, env, together)
        print(f"{label:<32}{wall:>9.2f}{2 * COUNT / wall:>11.0f}{verify:>10.2f}  "
              f"{'verified' if holds else 'BROKEN'}", flush=True)


def far(pg, proxy, case):
    """The case's address through the link, and the password file line for it."""
    address = f"postgresql://{pg.user}@127.0.0.1:{proxy.port}/{pg.database}?case={case}"
    secret = pg.password.replace("\\", "\\\\").replace(":", "\\:")
    return address, f"127.0.0.1:{proxy.port}:{pg.database}:{pg.user}:{secret}\n"


def link(build, pg, home):
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import walk  # noqa: E402  (under Xvfb: see main)
    import statistics  # noqa: E402
    server = walk.Server(walk.DELAY_MS)
    proxies = []
    try:
        print(f"the team's link: 50 ms each way; walk of {walk.STEPS} steps, each a quarter second after "
              f"the page showed; pages after {walk.DELAY_MS} ms", flush=True)
        medians = {}
        for label in ("no case", "server case 50 ms away", "server case, link dropping everything"):
            proxy = tcpproxy.Proxy(pg.port, delay=0.05)
            proxies.append(proxy)
            address, line = far(pg, proxy, "walk")
            case = None if label == "no case" else address
            keys, _, _ = walk.walk(build, "ours", server, True, case=case or False, pace=0.25,
                                   pgpass=line if case else None,
                                   shown=proxy.drop if "dropping" in label else None)
            proxy.heal()
            medians[label] = statistics.median(keys)
            extra = "" if label == "no case" else f" ({medians[label] - medians['no case']:+.0f} ms)"
            print(f"  {label:<40} key→shown median {medians[label]:.0f} ms{extra}, p95 {walk.p95(keys):.0f} ms",
                  flush=True)
        away_and_back(build, pg, home, proxies)
    finally:
        server.close()
        for proxy in proxies:
            proxy.close()


def away_and_back(build, pg, home, proxies):
    proxy = tcpproxy.Proxy(pg.port, delay=0.05)
    proxies.append(proxy)
    address, line = far(pg, proxy, "away")
    with open(os.path.join(home, ".pgpass"), "a") as f:
        f.write(line)
    env = dict(os.environ, HOME=home, XDG_CACHE_HOME=os.path.join(home, ".cache"))
    appender = os.path.join(build, "bench", "case_appender")
    subprocess.run([appender, address, "0", "away"], env=env, check=True, capture_output=True)
    proxy.drop()
    process = subprocess.Popen([appender, address, str(COUNT), "away"], env=env, stdout=subprocess.PIPE,
                               text=True)
    appended = float(process.stdout.readline())
    assert process.stdout.readline().strip() == "appended"
    proxy.heal()
    sent, waiting = process.stdout.readline().split()
    process.wait()
    terms = pg.psql("SELECT e.term FROM glenlantern.entries e JOIN glenlantern.cases c ON c.key = e.case_key "
                    "WHERE c.name = 'away' ORDER BY e.seq", pg.database).split("\n")[:-1]
    once_in_order = terms == [f"away term {i}" for i in range(1, COUNT + 1)] and waiting == "0"
    print(f"  {COUNT} searches recorded with the link dropping everything: {appended:.1f} s into the "
          f"journal; once it carries again, all on the server in {float(sent):.1f} s, "
          f"{'each once, in order' if once_in_order else 'NOT each once in order'}", flush=True)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    only = sys.argv[2] if len(sys.argv) > 2 else ""
    if not pgserver.available():
        print("PostgreSQL 15 is not installed: the server case is not measured")
        return
    pg = pgserver.PgServer()
    home = tempfile.mkdtemp(prefix="gl-bench-")
    try:
        pg.write_pgpass(home)
        if only in ("", "writers"):
            writers(build, pg, home)
        if only in ("", "link"):
            link(build, pg, home)
    finally:
        pg.close()
        subprocess.run(["rm", "-rf", home])


if __name__ == "__main__":
    if not os.environ.get("DISPLAY"):  # the window's walk needs a display
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -noreset",
                               sys.executable] + sys.argv)
    main()
