#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up of the program against a minimal Qt Widgets window, under Xvfb.

For each program: the time from process start until its window is mapped on the screen (the
median of several runs), the resident memory of the idle window, and whether the browser engine
has started (its helper processes) before any search."""

import os
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = int(os.environ.get("GL_BENCH_RUNS", "7"))


def window_shown(title):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                         capture_output=True, text=True).stdout
    return bool(out.strip())


def rss_kib(pid):
    total = 0
    for p in [pid] + children(pid):
        try:
            with open(f"/proc/{p}/status") as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass
    return total


def children(pid):
    out = subprocess.run(["pgrep", "-P", str(pid)], capture_output=True, text=True).stdout
    return [int(p) for p in out.split()]


def engine_started(pid):
    for child in children(pid):
        try:
            with open(f"/proc/{child}/cmdline", "rb") as f:
                if b"QtWebEngineProcess" in f.read():
                    return True
        except FileNotFoundError:
            pass
    return False


def measure(program, title, cwd):
    times, rss, engine = [], [], False
    for _ in range(RUNS):
        start = time.perf_counter()
        process = subprocess.Popen([program], cwd=cwd, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        while not window_shown(title):
            if time.perf_counter() - start > 60:
                raise SystemExit(f"{program}: no window after 60 s (exit status {process.poll()})")
            time.sleep(0.02)
        times.append(time.perf_counter() - start)
        time.sleep(1.0)
        rss.append(rss_kib(process.pid))
        engine = engine or engine_started(process.pid)
        process.kill()
        process.wait()
    return statistics.median(times) * 1000, statistics.median(rss) / 1024, engine


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    program = os.path.join(build, "glenlantern")
    minimal = os.path.join(build, "bench", "minimal_window")
    samples = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples")
    with tempfile.TemporaryDirectory() as empty:
        ours = measure(program, "Glen Lantern", samples)
        peer = measure(minimal, "Minimal Window", empty)
    print(f"{'start-up (to window shown)':34} {'ours':>9} {'minimal':>9} {'ratio':>6}")
    print(f"{'time to window, median ms':34} {ours[0]:9.0f} {peer[0]:9.0f} {ours[0] / peer[0]:6.2f}")
    print(f"{'idle memory (RSS), MiB':34} {ours[1]:9.1f} {peer[1]:9.1f} {ours[1] / peer[1]:6.2f}")
    print(f"browser engine started before a search: {'yes' if ours[2] else 'no'}")


if __name__ == "__main__":
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x900x24 -noreset",
                               sys.executable] + sys.argv)
    main()
