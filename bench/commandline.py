#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The command line beside peers.

- `glenlantern --print-url`, a job without a window run with no display, beside `/bin/true` and
  `python3 -c 'import urllib.parse'` (a script that would build the same address);
- a later `glenlantern TERM` that hands its command line to the running program over a session
  bus of its own (under Xvfb) and ends;
- a later start that names a 2 GB sparse service list: refused by the start itself after the
  file's first block when that holds a NUL, and handed over at once when its first block is text
  (the running program reads the file after it answered, and shows where the NUL is).

For each: the median and the best wall time of several runs, and the peak resident memory."""

import os
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = int(os.environ.get("GL_BENCH_RUNS", "30"))
GNU_TIME = "/usr/bin/time"
BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={folder}</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


def run_once(command, env, cwd, expected=0):
    start = time.perf_counter()
    status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            env=env, cwd=cwd).returncode
    if status != expected:
        raise SystemExit(f"{command}: exit status {status}")
    return time.perf_counter() - start


def peak_rss_mib(command, env, cwd):
    """GNU time's maximum resident set size of the command alone, in MiB."""
    if not os.path.exists(GNU_TIME):
        return float("nan")
    with tempfile.NamedTemporaryFile("r") as out:
        subprocess.run([GNU_TIME, "-f", "%M", "-o", out.name, *command], env=env, cwd=cwd,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return int(out.read().split()[-1]) / 1024


def measure(command, env, cwd, pause=0.0, expected=0, runs=RUNS):
    times = []
    for _ in range(runs):
        times.append(run_once(command, env, cwd, expected) * 1000)
        time.sleep(pause)
    return statistics.median(times), min(times), peak_rss_mib(command, env, cwd)


def sparse_rows(program, env, folder):
    """Starts that name a 2 GB sparse service list, with a program running."""
    nothing_but_nuls = os.path.join(folder, "sparse.gls")
    text_first = os.path.join(folder, "text-first.gls")
    with open(nothing_but_nuls, "wb") as f:
        f.truncate(2 << 30)
    with open(text_first, "wb") as f:
        f.write(b"Local=http://127.0.0.1:9/search?q=|s|\r\n" * 3000)  # past the first block
        f.truncate(2 << 30)
    try:
        return [
            ("2 GB sparse list, refused by the start",
             measure([program, "--services", nothing_but_nuls, "x"], env, folder, expected=2)),
            # Each leaves an error box in the running program: a few runs only.
            ("2 GB sparse list, text first, handed over",
             measure([program, "--services", text_first, "x"], env, folder, pause=0.5, runs=5)),
        ]
    finally:
        os.remove(nothing_but_nuls)
        os.remove(text_first)


def report(rows, yardstick):
    print(f"{'':44} {'median ms':>10} {'best ms':>8} {'peak RSS MiB':>13} {'ratio':>6}")
    for name, (median, best, rss) in rows:
        print(f"{name:44} {median:10.1f} {best:8.1f} {rss:13.1f} {median / yardstick:6.2f}")


def print_url_rows(program, folder):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    python = measure([sys.executable, "-c", "import urllib.parse"], env, folder)
    rows = [
        ("/bin/true", measure(["/bin/true"], env, folder)),
        ("python3 -c 'import urllib.parse'", python),
        ("glenlantern --print-url (no display)",
         measure([program, "--print-url", "Ada Lovelace"], env, folder)),
        ("glenlantern --print-url --all-services",
         measure([program, "--print-url", "--all-services", "Ada Lovelace"], env, folder)),
    ]
    return rows, python[0]


def hand_over_rows(program, folder):
    env = dict(os.environ)
    bus_folder = os.path.join(folder, "bus")
    os.makedirs(bus_folder)
    config = os.path.join(bus_folder, "session.conf")
    with open(config, "w") as f:
        f.write(BUS_CONFIG.format(folder=bus_folder))
    bus = subprocess.Popen(["dbus-daemon", f"--config-file={config}", "--nofork",
                            "--print-address=1"], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, text=True)
    env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
    first = subprocess.Popen([program], cwd=folder, env=env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 60
        while subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Glen Lantern$"],
                             capture_output=True).returncode != 0:
            if time.monotonic() > deadline:
                raise SystemExit("the first program showed no window")
            time.sleep(0.05)
        time.sleep(2)
        # A pause between starts lets the running program's pane settle after each search.
        return [("glenlantern TERM, handed to the running one",
                 measure([program, "Ada Lovelace"], env, folder, pause=0.5))] + \
            sparse_rows(program, env, folder)
    finally:
        first.kill()
        first.wait()
        bus.terminate()
        bus.wait()
        bus.stdout.close()


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    program = os.path.join(build, "glenlantern")
    with tempfile.TemporaryDirectory() as folder:
        # Port 9 refuses at once: the searches never leave the machine.
        lines = [f"Local{i}=http://127.0.0.1:9/search?q=|s|&n={i}" for i in range(20)]
        with open(os.path.join(folder, "Default.gls"), "w") as f:
            f.write("\r\n".join(lines) + "\r\n")
        rows, yardstick = print_url_rows(program, folder)
        rows += hand_over_rows(program, folder)
    print(f"command line, {RUNS} runs each; ratio: median against python3")
    report(rows, yardstick)


if __name__ == "__main__":
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x900x24 -noreset",
                               sys.executable] + sys.argv)
    main()
