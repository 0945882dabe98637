#!/usr/bin/env python3
"""Opens a case folder in the desktop program and reports how long the program stays busy and how
much memory it takes at most.

    scripts/measure-open.py FOLDER [PROGRAM] [--runs N]

PROGRAM defaults to build/src/kavo. The program runs on the display in DISPLAY (under Xvfb with a
window manager for figures that hold for a desktop) or, without one, on Qt's offscreen platform.
It counts as idle once it has used less than 20 ms of CPU time in a whole second; it is then ended.
For each run the script prints the wall and CPU time from the start to the last busy moment and
the peak resident memory (VmHWM). Linux only: it reads /proc.
"""

import argparse
import os
import subprocess
import sys
import time

TICK = os.sysconf("SC_CLK_TCK")
SAMPLE = 0.05
QUIET_WINDOW = 1.0
QUIET_CPU = 0.02
LIMIT = 120.0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15 of the whole line, 12 and 13 after the name.
    return (int(fields[11]) + int(fields[12])) / TICK


def peak_memory_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return 0.0


def measure(program, folder):
    env = dict(os.environ)
    if "DISPLAY" not in env and "QT_QPA_PLATFORM" not in env:
        env["QT_QPA_PLATFORM"] = "offscreen"
    start = time.monotonic()
    process = subprocess.Popen([program, folder], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    samples = []
    busy_until = (0.0, 0.0)
    try:
        while True:
            time.sleep(SAMPLE)
            if process.poll() is not None:
                raise RuntimeError(f"{program} ended with status {process.returncode}")
            now = time.monotonic() - start
            cpu = cpu_seconds(process.pid)
            samples.append((now, cpu))
            if len(samples) > 1 and cpu > samples[-2][1]:
                busy_until = (now, cpu)
            window = [s for s in samples if s[0] >= now - QUIET_WINDOW]
            quiet = now >= QUIET_WINDOW and cpu - window[0][1] < QUIET_CPU
            if (quiet and busy_until[0] > 0) or now > LIMIT:
                return busy_until[0], busy_until[1], peak_memory_mb(process.pid)
    finally:
        process.terminate()
        process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folder")
    parser.add_argument("program", nargs="?", default="build/src/kavo")
    parser.add_argument("--runs", type=int, default=1)
    args = parser.parse_args()
    for run in range(args.runs):
        wall, cpu, peak = measure(args.program, args.folder)
        print(f"run {run + 1}: busy until {wall:.2f} s (CPU {cpu:.2f} s), peak {peak:.0f} MB")
    return 0


if __name__ == "__main__":
    sys.exit(main())
